#pragma once
// The header lines of a force in its side's file (from its "NAME=" line to its case count)
// and the change of its speed there.

#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/TextLines.h"
#include "scenario/MissionCases.h"

namespace platform {
class UserDialogs;
}

namespace scenario {

// From the first line containing "NAME=" + title up to, not including, the first line after it
// that contains "CASECOUNT=" (or the end of the lines). Empty when no line names the force.
TLineRange ForceHeaderLines(const platform::TextLines& lines, std::string_view title);

// The integer value of label "SPEED" of the last "SPEED=" line of the range; none without one.
// A value that is not a number throws platform::EConvertError.
std::optional<int> HeaderSpeed(const platform::TextLines& lines, TLineRange header,
                               platform::UserDialogs& dialogs);

// Every line of the range that contains "SPEED=" becomes "SPEED=" + knots.
void ReplaceHeaderSpeed(platform::TextLines& lines, TLineRange header, int knots);

// The index of the line before the first line containing "NAME=" + title: where the force's
// block starts. None when no line names the force or it names it on the first line.
std::optional<std::size_t> FindForceHeader(const platform::TextLines& lines, std::string_view title);

}  // namespace scenario
