#include "globe/data/LatLongText.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace globe {

namespace {

std::string Digits(int64_t value, int width) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*lld", width, static_cast<long long>(value));
  return buffer;
}

bool HasHemisphereCode(std::string_view format) {
  for (std::size_t i = 0; i + 1 < format.size(); ++i)
    if (format[i] == '%') {
      const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(format[i + 1])));
      if (c == 'N' || c == 'E') return true;
    }
  return false;
}

}  // namespace

std::string FormatLatLong(int32_t value, std::string_view format) {
  const bool negative = value < 0;
  int64_t rest = std::llabs(int64_t{value});
  const int64_t degrees = rest / 5'400'000;
  rest %= 5'400'000;
  const int64_t minutes = rest / 90'000;
  rest %= 90'000;
  const int64_t thousandths = rest / 90;
  const int64_t seconds = rest / 1'500;
  rest %= 1'500;
  const int64_t thirds = rest / 250;
  const int64_t units = rest % 250;

  bool minusPending = negative && !HasHemisphereCode(format);
  std::string text;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 >= format.size()) {
      text += format[i];
      continue;
    }
    const char code = format[++i];
    if (minusPending) {
      text += '-';
      minusPending = false;
    }
    switch (std::toupper(static_cast<unsigned char>(code))) {
      case 'D': text += std::to_string(degrees); break;
      case 'M': text += Digits(minutes, 2); break;
      case 'I': text += Digits(thousandths, 3); break;
      case 'S': text += Digits(seconds, 2); break;
      case 'T': text += Digits(thirds, 2); break;
      case 'U': text += Digits(units, 2); break;
      case 'N': text += negative ? 'S' : 'N'; break;
      case 'E': text += negative ? 'W' : 'E'; break;
      default: text += code; break;
    }
  }
  return text;
}

}  // namespace globe
