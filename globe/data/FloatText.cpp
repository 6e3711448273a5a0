#include "globe/data/FloatText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/ConvertError.h"

namespace globe {

namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

long double TextToFloat(std::string_view text) {
  std::string_view s = TrimBlanks(text);
  bool negative = false;
  std::string_view body = s;
  if (!body.empty() && (body.front() == '-' || body.front() == '+')) {
    negative = body.front() == '-';
    body.remove_prefix(1);
  }
  long double value = 0;
  if (EqualsNoCase(body, "INF")) {
    value = HUGE_VALL;
  } else if (EqualsNoCase(body, "NAN")) {
    value = std::nanl("");
  } else {
    // from_chars is locale-independent; it rejects a sign, blanks and other separators.
    const bool startsWithDigit =
        !body.empty() && ((body.front() >= '0' && body.front() <= '9') || body.front() == '.');
    const auto result = std::from_chars(body.data(), body.data() + body.size(), value,
                                        std::chars_format::general);
    // Values beyond the long double range are refused like any other bad number.
    if (!startsWithDigit || result.ec != std::errc() || result.ptr != body.data() + body.size())
      throw platform::EConvertError("'" + std::string(text) +
                                    "' is not a valid floating point value");
  }
  return negative ? -value : value;
}

std::string FloatToText(long double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  constexpr int Precision = 15;
  char buf[64];
  // d.dddddddddddddde+XX: 15 significant digits, locale-independent.
  const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific,
                                    Precision - 1);
  const std::string_view sci(buf, static_cast<size_t>(result.ptr - buf));
  const size_t e = sci.find('e');
  const bool negative = sci.front() == '-';
  std::string digits;
  for (char c : sci.substr(0, e))
    if (c >= '0' && c <= '9') digits += c;
  const int exponent = std::atoi(std::string(sci.substr(e + 1)).c_str());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent >= -5 && exponent < Precision) {
    if (exponent < 0) {
      out += "0.";
      out.append(static_cast<size_t>(-exponent - 1), '0');
      out += digits;
    } else {
      const size_t intDigits = static_cast<size_t>(exponent) + 1;
      if (digits.size() <= intDigits) {
        out += digits;
        out.append(intDigits - digits.size(), '0');
      } else {
        out += digits.substr(0, intDigits);
        out += '.';
        out += digits.substr(intDigits);
      }
    }
  } else {
    out += digits.substr(0, 1);
    if (digits.size() > 1) {
      out += '.';
      out += digits.substr(1);
    }
    out += 'E';
    out += std::to_string(exponent);
  }
  return out;
}

}  // namespace globe
