#pragma once
// Changing one line of a force's case in its side's file lines, without the case list: what a
// change made on the map (a dragged or inserted waypoint) does to the lines.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/TextLines.h"

namespace scenario {

// The lines with line `row` of the block of case n of the force named title (row 0 is the
// block's "CASE" line, as in the case list) replaced by text. None when the force, the case or
// the row is not there.
std::optional<platform::TextLines> WithCaseLineReplaced(const platform::TextLines& lines, std::string_view title,
                                                        int n, std::size_t row, const std::string& text);

// The lines with text inserted as line `row` of that block (the lines from row on move down;
// row = the block's line count adds it after the block's last line). Row 0 would put a line
// above the "CASE" line, outside the case: none, as for a missing force, case or row.
std::optional<platform::TextLines> WithCaseLineInserted(const platform::TextLines& lines, std::string_view title,
                                                        int n, std::size_t row, const std::string& text);

}  // namespace scenario
