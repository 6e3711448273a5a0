#include "scenario/LineEncoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <utility>

#include "scenario/Utf8Text.h"

namespace scenario {

namespace {

// The characters Windows-1252 puts at 0x80..0x9F, where Latin-1 has control characters.
constexpr std::array<std::pair<std::uint32_t, unsigned char>, 27> kWindowsExtras{{
    {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
    {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
    {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
    {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
    {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F},
}};

std::optional<unsigned char> WindowsByte(std::uint32_t code) {
  if (code <= 0xFF) return static_cast<unsigned char>(code);
  const auto* found = std::find_if(kWindowsExtras.begin(), kWindowsExtras.end(),
                                   [code](const auto& extra) { return extra.first == code; });
  if (found == kWindowsExtras.end()) return std::nullopt;
  return found->second;
}

bool IsControl(std::uint32_t code, TLineEncoding encoding) {
  return code < 0x20 || code == 0x7F || (encoding == TLineEncoding::Utf8 && code >= 0x80 && code <= 0x9F);
}

// The bytes, or the reason there are none.
std::pair<std::string, std::string> Encode(std::string_view typed, TLineEncoding encoding) {
  std::string bytes;
  for (std::size_t i = 0; i < typed.size();) {
    const std::optional<TUtf8Char> c = Utf8CharAt(typed, i);
    if (!c) return {{}, "The text is not valid UTF-8."};
    const std::string_view character = typed.substr(i, c->Length);
    i += c->Length;
    if (IsControl(c->Code, encoding))
      return {{}, "A line cannot hold a control character (code " + std::to_string(c->Code) +
                      "): no line breaks or tabs."};
    if (encoding == TLineEncoding::Utf8) {
      bytes += character;
    } else if (const std::optional<unsigned char> byte = WindowsByte(c->Code)) {
      bytes += static_cast<char>(*byte);
    } else {
      return {{}, "The character \"" + std::string(character) +
                      "\" cannot be written in this file: its lines are in the Windows character set (Windows-1252)."};
    }
  }
  return {bytes, {}};
}

}  // namespace

TLineEncoding LinesEncoding(const platform::TextLines& lines) {
  return std::all_of(lines.begin(), lines.end(), [](const std::string& line) { return IsValidUtf8(line); })
             ? TLineEncoding::Utf8
             : TLineEncoding::Windows1252;
}

std::string TypedTextRefusal(std::string_view typed, TLineEncoding encoding) { return Encode(typed, encoding).second; }

std::string TypedTextBytes(std::string_view typed, TLineEncoding encoding) {
  auto [bytes, refusal] = Encode(typed, encoding);
  if (!refusal.empty()) throw std::invalid_argument(refusal);
  return bytes;
}

}  // namespace scenario
