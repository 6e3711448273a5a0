#pragma once
// The land the scenario checks test positions and legs against: the layer "Land" of the
// environment the scenario loaded, else the default world map's land file "Data/Land.lyr" of
// the program folder.

#include <memory>
#include <string>

#include "globe/data/LandIndex.h"

namespace globe {
class TCustomVoduz4;
}

namespace scenario {

inline constexpr const char* kLandLayer = "Land";
inline constexpr const char* kDefaultLandFile = "Land.lyr";

// Null when there is neither a land layer with objects nor a readable default land file.
std::unique_ptr<globe::TLandIndex> LandForScenario(globe::TCustomVoduz4& globe, const std::string& programDir);

// The land of a LYR file read on its own; null when it cannot be read.
std::unique_ptr<globe::TLandIndex> LandFromFile(const std::string& fileName);

}  // namespace scenario
