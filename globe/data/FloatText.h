#pragma once
// Locale-independent floating-point text of the environment files: always "." as decimal
// separator, whatever the process locale. (Integer text is platform::StrToInt.)

#include <cstdint>
#include <string>
#include <string_view>

namespace globe {

// Decimal number with "." (optional sign and exponent, "INF" and "NAN" accepted); leading and
// trailing blanks ignored. Raises platform::EConvertError "'%s' is not a valid floating point
// value".
long double TextToFloat(std::string_view text);

// Shortest general form with 15 significant digits and "." whatever the process locale:
// fixed notation for 1E-5 <= |v| < 1E15 ("1.5", "0.0001", "-42"), otherwise scientific with a
// bare exponent ("1E20", "2.5E-7"); "INF", "-INF", "NAN" for non-finite values.
std::string FloatToText(long double value);

}  // namespace globe
