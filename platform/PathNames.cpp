#include "platform/PathNames.h"

namespace platform {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

std::string ToNativeSeparators(std::string_view name) {
    std::string result(name);
    for (char& c : result) {
        if (c == '\\') c = '/';
    }
    return result;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

std::string WithTrailingSeparator(std::string_view directory) {
    std::string result(directory);
    if (!result.empty() && !IsSeparator(result.back())) result += '/';
    return result;
}

std::string LastPathComponent(std::string_view path) {
    std::size_t end = path.size();
    while (end > 0 && IsSeparator(path[end - 1])) --end;
    std::size_t start = end;
    while (start > 0 && !IsSeparator(path[start - 1])) --start;
    return std::string(path.substr(start, end - start));
}

}  // namespace platform
