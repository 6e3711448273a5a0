#include "platform/ProgramFolder.h"

#include <filesystem>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

std::string ExecutableFolder(const char* argv0) {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        if (argv0 == nullptr) return {};
        exe = fs::absolute(argv0, error);
        if (error) return {};
    }
    return exe.parent_path().string();
}

std::string ProgramDataFolder(const std::string& programDir) {
    std::error_code error;
    if (programDir.empty() || fs::is_directory(fs::path(programDir) / "Data", error)) return programDir;
    const fs::path installed = (fs::path(programDir) / kInstalledDataFolder).lexically_normal();
    if (fs::is_directory(installed / "Data", error)) return installed.string();
    return programDir;
}

}  // namespace platform
