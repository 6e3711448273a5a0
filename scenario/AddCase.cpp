#include "scenario/AddCase.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/IntegerText.h"
#include "platform/UserDialogs.h"
#include "scenario/LabelValue.h"

namespace scenario {

namespace {

// The number a line ends in: its last character read as an integer.
int LastCharacterValue(const std::string& line) {
    return platform::StrToInt(line.empty() ? std::string_view() : std::string_view(line).substr(line.size() - 1));
}

}  // namespace

std::optional<int> AddCase(platform::TextLines& lines, std::size_t endMissionLine, std::size_t missionStart,
                           platform::UserDialogs& dialogs) {
    if (endMissionLine >= lines.size() || missionStart > endMissionLine) return std::nullopt;
    std::optional<int> last;
    std::size_t copyFrom = endMissionLine;
    std::optional<std::size_t> countLine;
    for (std::size_t i = endMissionLine + 1; i-- > missionStart;) {
        const std::string& line = lines[i];
        if (!last && HasKey(line, "CASE")) {
            last = LastCharacterValue(line);
            copyFrom = i + 1;
        }
        if (HasKey(line, "CASECOUNT=")) {
            countLine = i;
            break;
        }
    }
    if (!countLine) {
        dialogs.ShowMessage(kCannotFindFirstCaseMessage);
        return std::nullopt;
    }
    const int count = LastCharacterValue(lines[*countLine]);
    lines[*countLine] = "CASECOUNT=" + std::to_string(count + 1);

    const int added = *last + 1;
    if (copyFrom > endMissionLine) copyFrom = endMissionLine;  // "CASE" in the end line itself
    const platform::TextLines copies(lines.begin() + static_cast<std::ptrdiff_t>(copyFrom),
                                     lines.begin() + static_cast<std::ptrdiff_t>(endMissionLine));
    const auto at = lines.begin() + static_cast<std::ptrdiff_t>(endMissionLine);
    lines.insert(lines.insert(at, "CASE" + std::to_string(added)) + 1, copies.begin(), copies.end());
    return added;
}

int AddedCaseNumber(const TLinesSplice& splice)
{
    // The splice runs from the changed "CASECOUNT=" line: the new case's line is its last one.
    for (auto it = splice.Inserted.rbegin(); it != splice.Inserted.rend(); ++it) {
        const std::string& line = *it;
        const std::string_view digits = std::string_view(line).substr(std::min<std::size_t>(line.size(), 4));
        if (line.starts_with("CASE") && !digits.empty() && digits.size() <= 2 &&
            std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::stoi(std::string(digits));
    }
    return 0;
}

}  // namespace scenario
