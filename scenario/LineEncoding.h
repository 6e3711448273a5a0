#pragma once
// The encoding of a side file's lines, and text typed into one of them: the Edit box gives
// UTF-8, the file keeps its own encoding.
#include <string>
#include <string_view>

#include "platform/TextLines.h"

namespace scenario {

// UTF-8, or the Windows character set (Windows-1252) that files made on Windows use.
enum class TLineEncoding { Utf8, Windows1252 };

// UTF-8 when every line is UTF-8 (plain ASCII lines are), else Windows-1252.
TLineEncoding LinesEncoding(const platform::TextLines& lines);

// Empty when typed (UTF-8) may become a line of a file of that encoding; otherwise why not: a
// control character (a pasted line break, a tab) or a character the encoding has no byte for.
// In Windows-1252 the characters U+0080 to U+009F stand for the bytes of the same number (as a
// line of such a file is shown) and are taken.
std::string TypedTextRefusal(std::string_view typed, TLineEncoding encoding);

// The typed text's bytes in the encoding; a text that TypedTextRefusal refuses throws
// std::invalid_argument with that reason.
std::string TypedTextBytes(std::string_view typed, TLineEncoding encoding);

}  // namespace scenario
