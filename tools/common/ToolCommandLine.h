#pragma once
// The command line of the project's tools, parsed with CLI11: --help prints the usage with every
// option (exit 0), --version the project's version (exit 0), and an unusable argument gives one
// line naming it and what was expected (exit 2).

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace toolcli {

// The exit status of unusable arguments.
inline constexpr int kBadArguments = 2;

// Gives a tool's application the --version flag ("NAME VERSION") and the one-line failure
// message "NAME: problem" followed by a hint to --help.
void ConfigureToolApp(CLI::App& app);

// Parses the arguments (without the program name). Nothing when the tool goes on; otherwise the
// exit status, after the help or version text went to `out` or the problem to `err`.
std::optional<int> ParseToolArguments(CLI::App& app, const std::vector<std::string>& args, std::ostream& out,
                                      std::ostream& err);

}  // namespace toolcli
