#include "scenario/ConfigLines.h"

namespace scenario {

const std::string& LineAt(const platform::TextLines& lines, std::int64_t index) {
    if (index < 0 || static_cast<std::uint64_t>(index) >= lines.size()) {
        throw ELineIndexError("List index out of bounds (" + std::to_string(index) + ")");
    }
    return lines[static_cast<std::size_t>(index)];
}

}  // namespace scenario
