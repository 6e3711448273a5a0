#pragma once
// Where a task force's mission and its cases stand in its side's file lines.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/TextLines.h"

namespace scenario {

// Line indexes First .. End - 1.
struct TLineRange {
    std::size_t First = 0;
    std::size_t End = 0;
    bool operator==(const TLineRange&) const = default;
};

// The first line whose whole text equals "NAME=" + title, ignoring letter case.
std::optional<std::size_t> FindForceNameLine(const platform::TextLines& lines, std::string_view title);

// The end of a case's lines that start at first: the first line from there that contains
// "CASE", is "ENDMISSION" or is blank, or the end of the lines.
std::size_t CaseLinesEnd(const platform::TextLines& lines, std::size_t first);

// The lines of case n (after its "CASE" + n line) of the mission whose "NAME=" line is at
// nameLine: after that line the first line containing "CASECOUNT", from there the line that
// equals "CASE" + n. None when either search meets "ENDMISSION", a blank line or the end.
std::optional<TLineRange> LocateCase(const platform::TextLines& lines, std::size_t nameLine, int n);

// The case block shown in the case list: its "CASE" + n line and the lines under it.
struct TCaseBlock {
    // Indexes of the block's first and last line. When the mission has no case n both are the
    // index of its "ENDMISSION" line; when the force is not found both are 0.
    std::size_t FirstLine = 0;
    std::size_t LastLine = 0;
    platform::TextLines Lines;  // copies of the block's lines
    // The mission's lines ran to the end of the file without "ENDMISSION".
    bool MissingEnd = false;
};

inline const char* const kMissingEndMissionMessage = "End of file! Probable missing \"ENDMISSION\"!";

// The block of case n of the force named title: from its "NAME=" line on, a line containing
// "ENDMISSION" ends the search without a case, a line containing "CASE" + n starts the block,
// which runs up to, not including, the next line containing "CASE" or "ENDMISSION".
TCaseBlock FindCaseBlock(const platform::TextLines& lines, std::string_view title, int n);

// Puts the case list's lines in place of the block FirstLine .. LastLine (nothing is removed
// when FirstLine > LastLine; a block outside the lines is not touched).
void StoreCaseBlock(platform::TextLines& lines, std::size_t firstLine, std::size_t lastLine,
                    const platform::TextLines& caseList);

}  // namespace scenario
