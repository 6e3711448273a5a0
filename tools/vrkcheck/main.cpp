// vrkcheck [--json] [--lint] [--png FILE] [--size WxH] DIR
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "tools/vrkcheck/VrkCheck.h"

namespace {

// The folder of this program, which plays the editor's program folder.
std::string ProgramFolder(const char* argv0) {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) exe = std::filesystem::absolute(argv0, error);
    return exe.parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
    return vrkcheck::Run(std::vector<std::string>(argv + 1, argv + argc), ProgramFolder(argv[0]), std::cout,
                         std::cerr);
}
