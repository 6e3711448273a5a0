#include "platform/DateTimeFormat.h"

#include <algorithm>
#include <cctype>

#include "platform/DateTime.h"

namespace platform {

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Upper(text[i]) != Upper(prefix[i])) return false;
    }
    return true;
}

// The nested formats (c, ddddd, t ...) may themselves use nested formats; two levels suffice
// and stop a settings record from recursing forever.
constexpr int kMaxNesting = 2;

class Formatter {
public:
    Formatter(const DateTimeParts& parts, const RegionalSettings& settings)
        : parts_(parts), settings_(settings) {}

    void Format(std::string_view pattern, int nesting);
    std::string Result() && { return std::move(out_); }

private:
    void Number(int value, int digits) {
        std::string text = std::to_string(value);
        if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
        out_ += text;
    }
    void Nested(const std::string& pattern, int nesting) {
        if (nesting < kMaxNesting) Format(pattern, nesting + 1);
    }
    bool TwelveHourClock(std::string_view rest) const;
    bool Midnight() const {
        return parts_.hour == 0 && parts_.minute == 0 && parts_.second == 0 &&
               parts_.millisecond == 0;
    }

    const DateTimeParts& parts_;
    const RegionalSettings& settings_;
    std::string out_;
};

// An hour uses the 12-hour clock when an am/pm marker follows it in the pattern.
bool Formatter::TwelveHourClock(std::string_view rest) const {
    for (std::size_t i = 0; i < rest.size(); ++i) {
        char c = rest[i];
        if (c == '"' || c == '\'') {
            std::size_t close = rest.find(c, i + 1);
            if (close == std::string_view::npos) return false;
            i = close;
        } else if (StartsWithIgnoringCase(rest.substr(i), "am/pm") ||
                   StartsWithIgnoringCase(rest.substr(i), "a/p") ||
                   StartsWithIgnoringCase(rest.substr(i), "ampm")) {
            return true;
        }
    }
    return false;
}

void Formatter::Format(std::string_view pattern, int nesting) {
    char lastLetter = 0;
    std::size_t i = 0;
    while (i < pattern.size()) {
        char c = pattern[i];
        char token = Upper(c);
        std::size_t count = 1;
        if (std::isalpha(static_cast<unsigned char>(c))) {
            while (i + count < pattern.size() && Upper(pattern[i + count]) == token) ++count;
        }
        std::string_view rest = pattern.substr(i);
        if (token == 'M' && lastLetter == 'H') token = 'N';
        switch (token) {
        case 'Y':
            if (count <= 2) Number(parts_.year % 100, 2);
            else Number(parts_.year, 4);
            break;
        case 'M':
            if (count <= 2) Number(parts_.month, static_cast<int>(count));
            else if (count == 3) out_ += settings_.shortMonthNames[parts_.month - 1];
            else out_ += settings_.longMonthNames[parts_.month - 1];
            break;
        case 'D':
            if (count <= 2) Number(parts_.day, static_cast<int>(count));
            else if (count == 3) out_ += settings_.shortDayNames[parts_.dayOfWeek - 1];
            else if (count == 4) out_ += settings_.longDayNames[parts_.dayOfWeek - 1];
            else if (count == 5) Nested(settings_.shortDateFormat, nesting);
            else Nested(settings_.longDateFormat, nesting);
            break;
        case 'H': {
            count = std::min<std::size_t>(count, 2);
            int hour = parts_.hour;
            if (TwelveHourClock(pattern.substr(i + count))) {
                hour %= 12;
                if (hour == 0) hour = 12;
            }
            Number(hour, static_cast<int>(count));
            break;
        }
        case 'N':
            count = std::min<std::size_t>(count, 2);
            Number(parts_.minute, static_cast<int>(count));
            break;
        case 'S':
            count = std::min<std::size_t>(count, 2);
            Number(parts_.second, static_cast<int>(count));
            break;
        case 'Z':
            count = std::min<std::size_t>(count, 3);
            Number(parts_.millisecond, count == 3 ? 3 : 1);
            break;
        case 'T':
            count = std::min<std::size_t>(count, 2);
            Nested(count == 1 ? settings_.shortTimeFormat : settings_.longTimeFormat, nesting);
            break;
        case 'C':
            count = 1;
            Nested(settings_.shortDateFormat, nesting);
            if (!Midnight()) {
                out_ += ' ';
                Nested(settings_.longTimeFormat, nesting);
            }
            break;
        case 'A': {
            bool pm = parts_.hour >= 12;
            if (StartsWithIgnoringCase(rest, "am/pm")) {
                std::string_view marker = rest.substr(pm ? 3 : 0, 2);
                out_ += marker;
                count = 5;
            } else if (StartsWithIgnoringCase(rest, "a/p")) {
                out_ += rest[pm ? 2 : 0];
                count = 3;
            } else if (StartsWithIgnoringCase(rest, "ampm")) {
                out_ += pm ? settings_.timePMString : settings_.timeAMString;
                count = 4;
            } else {
                out_ += c;
                count = 1;
            }
            break;
        }
        case '/':
            out_ += settings_.dateSeparator;
            break;
        case ':':
            out_ += settings_.timeSeparator;
            break;
        case '"':
        case '\'': {
            std::size_t close = pattern.find(c, i + 1);
            if (close == std::string_view::npos) close = pattern.size();
            out_ += pattern.substr(i + 1, close - i - 1);
            count = close - i + (close < pattern.size() ? 1 : 0);
            break;
        }
        default:
            out_ += pattern.substr(i, count);
            break;
        }
        if (std::isalpha(static_cast<unsigned char>(token))) lastLetter = token;
        i += count;
    }
}

}  // namespace

std::string FormatDateTime(std::string_view pattern, double dateTime,
                           const RegionalSettings& settings) {
    DateTimeParts parts = DecodeDateTime(dateTime);
    Formatter formatter(parts, settings);
    formatter.Format(pattern, 0);
    return std::move(formatter).Result();
}

std::string DateTimeToText(double dateTime, const RegionalSettings& settings) {
    return FormatDateTime("c", dateTime, settings);
}

std::string DateToText(double dateTime, const RegionalSettings& settings) {
    return FormatDateTime("ddddd", dateTime, settings);
}

}  // namespace platform
