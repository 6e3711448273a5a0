#include "platform/LocalePattern.h"

#include <algorithm>

namespace platform {

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Appends literal text to a pattern, inside double quotes (a double quote itself cannot be
// quoted that way and goes inside single quotes).
void AppendLiteral(std::string& pattern, std::string_view text) {
    for (char c : text) {
        if (c == '"') {
            pattern += "'\"'";
        } else {
            pattern += '"';
            pattern += c;
            pattern += '"';
        }
    }
}

}  // namespace

std::string DateTimePatternFromLocale(std::string_view localePattern) {
    std::string pattern;
    std::size_t i = 0;
    while (i < localePattern.size()) {
        char c = localePattern[i];
        std::size_t count = 1;
        if (c == '\'') {
            // Quoted text; two single quotes stand for one.
            std::size_t close = localePattern.find('\'', i + 1);
            if (close == i + 1) {
                AppendLiteral(pattern, "'");
                i += 2;
                continue;
            }
            if (close == std::string_view::npos) close = localePattern.size();
            AppendLiteral(pattern, localePattern.substr(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        while (i + count < localePattern.size() && localePattern[i + count] == c) ++count;
        switch (c) {
        case 'd': pattern += std::string(std::min<std::size_t>(count, 4), 'd'); break;
        case 'M': pattern += std::string(std::min<std::size_t>(count, 4), 'm'); break;
        case 'y': pattern += count <= 2 ? "yy" : "yyyy"; break;
        case 'h':
        case 'H': pattern += count == 1 ? "h" : "hh"; break;
        case 'm': pattern += count == 1 ? "n" : "nn"; break;
        case 's': pattern += count == 1 ? "s" : "ss"; break;
        case 'z': pattern += count >= 3 ? "zzz" : "z"; break;
        case 't':
            // No time zones here; the blank that led to the zone goes with it.
            if (pattern.size() >= 3 && pattern.compare(pattern.size() - 3, 3, "\" \"") == 0) {
                pattern.resize(pattern.size() - 3);
            }
            break;
        case 'a':
        case 'A':
            // "AP", "ap", "A" and "a" all mark the 12-hour clock with the locale's texts.
            count = i + 1 < localePattern.size() &&
                            (localePattern[i + 1] == 'p' || localePattern[i + 1] == 'P')
                        ? 2
                        : 1;
            pattern += "ampm";
            break;
        default:
            AppendLiteral(pattern, localePattern.substr(i, count));
            break;
        }
        i += count;
    }
    return pattern;
}

std::string FieldSeparatorOf(std::string_view localePattern, std::string_view fallback) {
    std::size_t firstField = 0;
    while (firstField < localePattern.size() && !IsLetter(localePattern[firstField])) ++firstField;
    std::size_t start = firstField;
    while (start < localePattern.size() && IsLetter(localePattern[start])) ++start;
    std::size_t end = start;
    while (end < localePattern.size() && !IsLetter(localePattern[end]) && localePattern[end] != '\'') ++end;
    if (end == start || end == localePattern.size()) return std::string(fallback);
    std::string separator(localePattern.substr(start, end - start));
    while (!separator.empty() && separator.back() == ' ' && separator.size() > 1) separator.pop_back();
    return separator;
}

}  // namespace platform
