#include "scenario/JsonText.h"

#include <cmath>
#include <cstdint>

#include "scenario/Utf8Text.h"

namespace scenario {

namespace {

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
