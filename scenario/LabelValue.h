#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/UserDialogs.h"

namespace scenario {

// Longest value that a data line yields; the rest of the line is dropped.
inline constexpr std::size_t kMaxValueLength = 200;

// Splits a data line "label=value" at its first "=". Neither part is trimmed. Reports a line
// without "=" (its first 200 characters are then the value) and, when expectedLabel is not
// empty, a different label (the value is then empty). Never throws.
std::string ReadLabelValue(std::string_view line, std::string_view expectedLabel,
                           platform::UserDialogs& dialogs);

// The reports of ReadLabelValue: a line without "=", a label other than the expected one.
std::string MissingEqualsMessage(std::string_view line);
std::string WrongLabelMessage(std::string_view expectedLabel, std::string_view actualLabel);

// Key recognition of the readers: the key text anywhere in the line, case-sensitive.
inline bool HasKey(std::string_view line, std::string_view key) {
    return line.find(key) != std::string_view::npos;
}

}  // namespace scenario
