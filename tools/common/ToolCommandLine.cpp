#include "tools/common/ToolCommandLine.h"

#include <ostream>

#include "platform/Version.h"

namespace toolcli {

void ConfigureToolApp(CLI::App& app) {
  app.set_version_flag("--version", app.get_name() + " " + CORVALIS_VERSION, "Print the version and exit");
  app.set_help_flag("-h,--help", "Print this help and exit");
  app.failure_message([](const CLI::App* failed, const CLI::Error& error) {
    return failed->get_name() + ": " + error.what() + "\nRun '" + failed->get_name() +
           " --help' for the usage.\n";
  });
}

std::optional<int> ParseToolArguments(CLI::App& app, const std::vector<std::string>& args, std::ostream& out,
                                      std::ostream& err) {
  // An unexpected argument is named before a missing one ("--bogus" alone is not "FILE is
  // required"): required options are checked here after the extras, and marked required again
  // for the help text.
  std::vector<CLI::Option*> required;
  for (CLI::Option* option : app.get_options())
    if (option->get_required()) {
      required.push_back(option);
      option->required(false);
    }
  app.allow_extras(true);
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
    if (!app.remaining().empty()) throw CLI::ExtrasError(app.remaining());
    for (const CLI::Option* option : required)
      if (option->count() == 0) throw CLI::RequiredError(option->get_name());
  } catch (const CLI::ParseError& error) {
    for (CLI::Option* option : required) option->required(true);
    return app.exit(error, out, err) == 0 ? 0 : kBadArguments;
  }
  for (CLI::Option* option : required) option->required(true);
  return std::nullopt;
}

}  // namespace toolcli
