#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// Reads a 32-bit integer from text: leading blanks, one "+" or "-", then decimal digits, or
// hexadecimal digits after "$" or "0x". Nothing else may follow. Decimal values must fit in
// 32 bits; hexadecimal values up to $FFFFFFFF wrap to the signed range ($FFFFFFFF is -1).
std::optional<std::int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt; throws EConvertError ("'x' is not a valid integer value") on a bad text.
std::int32_t StrToInt(std::string_view text);

// As TryStrToInt; yields fallback on a bad text.
std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);

// Wraps a 64-bit result to 32 bits as two's-complement arithmetic would.
std::int32_t WrapToInt32(std::int64_t value);

}  // namespace platform
