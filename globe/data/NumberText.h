#pragma once
// Locale-independent number text used by the environment files and colour text: integers in
// decimal (or "$"/"0x" hexadecimal), floating-point values always with "." as decimal separator.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace globe {

// Decimal with optional sign, or "$"/"0x" followed by 1 to 8 hexadecimal digits (taken as the
// 32-bit pattern). Leading and trailing blanks are ignored. nullopt when the text is not such a
// number or does not fit in 32 bits.
std::optional<int32_t> TryTextToInt(std::string_view text);
// As TryTextToInt; raises EGlobeException "'%s' is not a valid integer value".
int32_t TextToInt(std::string_view text);

// Decimal number with "." (optional sign and exponent, "INF" and "NAN" accepted); leading and
// trailing blanks ignored. Raises EGlobeException "'%s' is not a valid floating point value".
long double TextToFloat(std::string_view text);

// Shortest general form with 15 significant digits and "." whatever the process locale:
// fixed notation for 1E-5 <= |v| < 1E15 ("1.5", "0.0001", "-42"), otherwise scientific with a
// bare exponent ("1E20", "2.5E-7"); "INF", "-INF", "NAN" for non-finite values.
std::string FloatToText(long double value);

}  // namespace globe
