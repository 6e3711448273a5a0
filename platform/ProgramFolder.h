#pragma once
// Where a program finds the folder that holds its "Data" (map data) and "Scenarios" (demos): beside
// itself in the build tree or an unpacked copy, or in ../share/corvalis beside its bin/ folder
// when installed.

#include <string>

namespace platform {

// The data folder's place below an installation prefix, relative to the programs' bin/ folder.
inline constexpr const char* kInstalledDataFolder = "../share/corvalis";

// The folder of the running program (from /proc/self/exe, else from argv0); "" when unknown.
std::string ExecutableFolder(const char* argv0 = nullptr);

// The folder that plays the program folder for a program in `programDir`: programDir itself when it
// holds "Data", else programDir/../share/corvalis when that holds "Data", else programDir.
std::string ProgramDataFolder(const std::string& programDir);

}  // namespace platform
