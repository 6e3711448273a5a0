// vrkcheck [--json] [--lint] [--png FILE] [--size WxH] DIR
#include <iostream>
#include <string>
#include <vector>

#include "platform/ProgramFolder.h"
#include "tools/vrkcheck/VrkCheck.h"

int main(int argc, char** argv) {
    // The program's folder plays the editor's program folder (installed: ../share/corvalis).
    const std::string programDir = platform::ProgramDataFolder(platform::ExecutableFolder(argv[0]));
    return vrkcheck::Run(std::vector<std::string>(argv + 1, argv + argc), programDir, std::cout, std::cerr);
}
