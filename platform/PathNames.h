#pragma once

#include <string>
#include <string_view>

namespace platform {

// Names read from data files may use "\" as path separator: it becomes "/".
std::string ToNativeSeparators(std::string_view name);

// ASCII case-insensitive comparison of two names.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// Appends a "/" unless the name already ends with a separator (or is empty).
std::string WithTrailingSeparator(std::string_view directory);

// The last component of a path, ignoring trailing separators ("a/b/" gives "b").
std::string LastPathComponent(std::string_view path);

}  // namespace platform
