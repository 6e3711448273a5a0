#include "scenario/JsonText.h"

#include <cmath>
#include <cstdint>

namespace scenario {

namespace {

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        std::uint32_t code = 0;
        if (byte < 0x80) {
            ++i;
            continue;
        } else if ((byte & 0xE0) == 0xC0) {
            extra = 1;
            code = byte & 0x1F;
        } else if ((byte & 0xF0) == 0xE0) {
            extra = 2;
            code = byte & 0x0F;
        } else if ((byte & 0xF8) == 0xF0) {
            extra = 3;
            code = byte & 0x07;
        } else {
            return false;
        }
        if (i + extra >= text.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        static constexpr std::uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

// Each byte as the character of the same number, in UTF-8.
std::string BytesAsCharacters(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size() * 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

}  // namespace

TJson JsonText(std::string_view text) {
    return IsValidUtf8(text) ? TJson(std::string(text)) : TJson(BytesAsCharacters(text));
}

TJson JsonNumber(double value) {
    if (!std::isfinite(value)) return nullptr;
    // Whole numbers within the exact integer range of a double are written as integers.
    constexpr double kExactLimit = 9007199254740992.0;  // 2^53
    if (value == std::trunc(value) && std::fabs(value) <= kExactLimit) return static_cast<std::int64_t>(value);
    return value;
}

std::string JsonDump(const TJson& value) { return value.dump(); }

}  // namespace scenario
