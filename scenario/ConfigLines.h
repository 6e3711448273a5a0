#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/TextLines.h"

namespace scenario {

// A reader asked for a line past the end of its file's lines.
class ELineIndexError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

// The line at a zero-based index; throws ELineIndexError ("List index out of bounds (n)")
// for an index outside the lines, which ends a reader's loop like a conversion error.
const std::string& LineAt(const platform::TextLines& lines, std::int64_t index);

}  // namespace scenario
