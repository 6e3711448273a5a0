#pragma once
// Reading one case of the selected force into its parsed form (start, route and target points,
// delay, current waypoint) for the map.

#include <cstddef>
#include <vector>

#include "platform/TextLines.h"
#include "scenario/ForceCases.h"

namespace platform {
class UserDialogs;
}

namespace scenario {

class TBase;

// Reads lines First .. End - 1 of `lines` as the lines of case n (1..6) into cases; CaseCWPI
// of the case starts at 0. Positions that cannot be read and unknown base names are reported;
// an error that ends the case shows "Error reading case!" with the index of the line within
// `lines`. Points read before the error stay.
void ParseCase(const platform::TextLines& lines, std::size_t first, std::size_t end, int n,
               TForceCases& cases, const std::vector<TBase*>& bases, platform::UserDialogs& dialogs);

}  // namespace scenario
