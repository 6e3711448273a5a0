#pragma once
// Reading UTF-8 text one character at a time.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace scenario {

// A character of UTF-8 text: its number and how many bytes it takes.
struct TUtf8Char {
  std::uint32_t Code = 0;
  std::size_t Length = 0;
};

// The character that starts at byte `at` of text; none when the bytes there are not UTF-8
// (a stray or missing continuation byte, an overlong form, a surrogate, a value past U+10FFFF).
std::optional<TUtf8Char> Utf8CharAt(std::string_view text, std::size_t at);

// True when all of text is UTF-8 (plain ASCII is).
bool IsValidUtf8(std::string_view text);

}  // namespace scenario
