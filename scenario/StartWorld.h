#pragma once
// The world the editor's map shows before any scenario is opened: the program's own land and
// country layers, so that the first look is a globe and not an empty sea.

#include <string>

namespace globe {
class TCustomVoduz4;
}

namespace scenario {

// The environment beside the program that holds the world's land and countries.
inline constexpr const char* kStartWorldEnvironment = "World.env";

// Loads "Data/World.env" of the program folder into the map, its layer files found in that
// Data folder. Returns false, the map left as it was, when the file is missing or cannot be
// read; repairs of a faulty file are not reported (no scenario asked for it).
bool ShowStartWorld(globe::TCustomVoduz4& map, const std::string& programDir);

}  // namespace scenario
