#pragma once
// The editor's command line: vrkedit [DIR], --help, --version.
#include <optional>
#include <string>

namespace editor {

struct TCommandLine {
  // The scenario or campaign directory to open after the splash, made absolute against the
  // current directory.
  std::optional<std::string> Directory;
  // --help, --version or a bad option: print Output and end with ExitCode instead of starting.
  bool Exit = false;
  int ExitCode = 0;
  std::string Output;
};

// Options the toolkit reads itself (such as -platform) are left to it.
TCommandLine ParseCommandLine(int argc, const char* const* argv);

}  // namespace editor
