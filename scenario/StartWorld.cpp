#include "scenario/StartWorld.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "globe/data/CustomVoduz4.h"
#include "platform/PathNames.h"

namespace scenario {

bool ShowStartWorld(globe::TCustomVoduz4& map, const std::string& programDir) {
    const std::string data = platform::WithTrailingSeparator(programDir) + "Data";
    const std::string file = platform::WithTrailingSeparator(data) + kStartWorldEnvironment;
    std::error_code error;
    if (programDir.empty() || !std::filesystem::is_regular_file(file, error)) return false;
    // No questions about missing layer files at start: a layer that is not found stays empty.
    auto notFound = std::exchange(map.OnFileNotFound, nullptr);
    auto warning = std::exchange(map.OnEnvironmentWarning, nullptr);
    bool shown = true;
    try {
        map.SetDataDirectory(data);
        map.SetEnvironmentFile(file);
    } catch (...) {
        map.ClearEnvironment();
        shown = false;
    }
    map.OnFileNotFound = std::move(notFound);
    map.OnEnvironmentWarning = std::move(warning);
    return shown;
}

}  // namespace scenario
