#include "editor/CommandLine.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <sstream>

#include "platform/Version.h"

namespace editor {

TCommandLine ParseCommandLine(int argc, const char* const* argv)
{
  CLI::App app{"Corvalis scenario editor: edits the task forces' missions of a naval wargame scenario.",
               "vrkedit"};
  app.set_version_flag("--version", std::string("vrkedit ") + CORVALIS_VERSION);
  std::string dir;
  app.add_option("DIR", dir, "Scenario or campaign directory to open at start (relative to the current directory)");
  app.allow_extras();

  TCommandLine result;
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    std::ostringstream out;
    std::ostringstream err;
    result.Exit = true;
    result.ExitCode = app.exit(error, out, err);
    result.Output = out.str() + err.str();
    return result;
  }
  if (!dir.empty()) {
    std::filesystem::path path = std::filesystem::absolute(dir).lexically_normal();
    // "Scenarios/Malta1941/" names the folder Malta1941, as the dialog would return it.
    if (path.has_relative_path() && !path.has_filename()) path = path.parent_path();
    result.Directory = path.string();
  }
  return result;
}

}  // namespace editor
