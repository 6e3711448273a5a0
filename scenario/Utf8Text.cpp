#include "scenario/Utf8Text.h"

namespace scenario {

std::optional<TUtf8Char> Utf8CharAt(std::string_view text, std::size_t at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x80) return TUtf8Char{byte, 1};
  std::size_t extra = 0;
  std::uint32_t code = 0;
  if ((byte & 0xE0) == 0xC0) {
    extra = 1;
    code = byte & 0x1F;
  } else if ((byte & 0xF0) == 0xE0) {
    extra = 2;
    code = byte & 0x0F;
  } else if ((byte & 0xF8) == 0xF0) {
    extra = 3;
    code = byte & 0x07;
  } else {
    return std::nullopt;
  }
  if (at + extra >= text.size()) return std::nullopt;
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    code = (code << 6) | (next & 0x3F);
  }
  static constexpr std::uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
  return TUtf8Char{code, extra + 1};
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::optional<TUtf8Char> c = Utf8CharAt(text, i);
    if (!c) return false;
    i += c->Length;
  }
  return true;
}

}  // namespace scenario
