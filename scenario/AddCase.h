#pragma once
// Add case: a new last case of a force's mission, copied from the mission's last case.

#include <cstddef>
#include <optional>

#include "platform/TextLines.h"
#include "scenario/LinesSplice.h"

namespace platform {
class UserDialogs;
}

namespace scenario {

inline const char* const kCannotFindFirstCaseMessage =
    "Cannot find first case!\rThere must be at least one case for each TF!\rPlease add it manually in the file if needed";

// endMissionLine is the index of the mission's "ENDMISSION" line; the walk back from it stops at
// missionStart (the force's "NAME=" line), so it never reaches another force's lines.
//
// Walking back, the first line containing "CASE" gives the last case number (its last
// character) and the lines after it are the last case's lines; the "CASECOUNT=" line becomes
// "CASECOUNT=" + (its last digit + 1). Then "CASE" + (last + 1) is inserted before
// "ENDMISSION", followed by copies of the last case's lines. Returns the new case's number.
// Without a "CASECOUNT=" line the lines stay unchanged, the message "Cannot find first case!..."
// is shown and none is returned. A number that is not a digit throws platform::EConvertError
// (the lines are then unchanged too).
std::optional<int> AddCase(platform::TextLines& lines, std::size_t endMissionLine, std::size_t missionStart,
                           platform::UserDialogs& dialogs);

// The number of the case an Add case put in place, read from the last "CASE" line among the
// lines its splice inserted; 0 when there is none.
int AddedCaseNumber(const TLinesSplice& splice);

}  // namespace scenario
