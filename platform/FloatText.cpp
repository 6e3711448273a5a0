#include "platform/FloatText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

constexpr int kDigits = 18;

// The decimal digits of |value| (kDigits of them, the first not zero unless the value is)
// and the exponent: |value| = 0.digits × 10^exponent.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal ToDecimal(long double magnitude) {
    Decimal d;
    if (magnitude == 0) {
        d.digits.assign(kDigits, '0');
        return d;
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", kDigits - 1, magnitude);
    // buffer: d.ddddde[+-]xx
    std::string text(buffer);
    std::size_t e = text.find('e');
    d.digits = text.substr(0, 1) + text.substr(2, e - 2);
    d.exponent = std::atoi(text.c_str() + e + 1) + 1;
    return d;
}

// Keeps `count` significant digits, rounding half away from zero; a carry adds a digit in
// front and raises the exponent. count may be 0 or negative (everything is rounded away).
void RoundTo(Decimal& d, int count) {
    if (count >= static_cast<int>(d.digits.size())) return;
    if (count < 0) {
        d.digits.assign(kDigits, '0');
        d.exponent = 0;
        return;
    }
    bool up = d.digits[count] >= '5';
    d.digits.resize(count);
    int i = count - 1;
    while (up && i >= 0) {
        if (d.digits[i] == '9') {
            d.digits[i] = '0';
            --i;
        } else {
            ++d.digits[i];
            up = false;
        }
    }
    if (up) {
        d.digits.insert(d.digits.begin(), '1');
        ++d.exponent;
    }
    if (d.digits.find_first_not_of('0') == std::string::npos) {
        d.digits.clear();
        d.exponent = 0;
    }
}

char DigitAt(const Decimal& d, int position) {  // position 0 is the first digit
    return position >= 0 && position < static_cast<int>(d.digits.size()) ? d.digits[position] : '0';
}

}  // namespace

std::string FormatFixed(long double value, int precision, int decimals, const RegionalSettings& settings) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    precision = std::clamp(precision, 1, kDigits);
    decimals = std::clamp(decimals, 0, kDigits);

    Decimal d = ToDecimal(std::fabs(value));
    RoundTo(d, std::min(precision, d.exponent + decimals));
    if (d.exponent > precision) {
        std::string text = value < 0 ? "-" : "";
        text += DigitAt(d, 0);
        std::string rest = d.digits.substr(std::min<std::size_t>(1, d.digits.size()));
        while (!rest.empty() && rest.back() == '0') rest.pop_back();
        if (!rest.empty()) text += settings.decimalSeparator + rest;
        int exponent = d.exponent - 1;
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "E+%02d", exponent);
        return text + buffer;
    }
    bool zero = d.digits.empty();
    std::string text = value < 0 && !zero ? "-" : "";
    if (zero || d.exponent <= 0) {
        text += '0';
    } else {
        for (int i = 0; i < d.exponent; ++i) text += DigitAt(d, i);
    }
    if (decimals > 0) {
        text += settings.decimalSeparator;
        for (int i = 0; i < decimals; ++i) text += zero ? '0' : DigitAt(d, d.exponent + i);
    }
    return text;
}

}  // namespace platform
