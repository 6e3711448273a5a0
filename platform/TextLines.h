#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

using TextLines = std::vector<std::string>;

// Splits file bytes into lines. CR LF, a lone CR and a lone LF each end a line; a line end at
// the very end makes no extra empty line. Every other byte is kept exactly.
TextLines SplitLines(std::string_view bytes);

// Joins lines for writing: every line, the last one too, followed by CR LF.
std::string JoinLinesCrLf(const TextLines& lines);

}  // namespace platform
