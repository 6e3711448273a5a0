#pragma once
// Line tests shared by the missions reader and the case editing: blank trimming and the lines
// that end a mission block or a case.

#include <string_view>

namespace scenario {

// Without leading and trailing blanks and control characters.
std::string_view Trimmed(std::string_view text);

// The line is blank: nothing but blanks and control characters.
inline bool IsBlankLine(std::string_view line) { return Trimmed(line).empty(); }

// A case's lines end before a line that contains "CASE", is exactly "ENDMISSION" or is blank.
bool EndsCaseLines(std::string_view line);

}  // namespace scenario
