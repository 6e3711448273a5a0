#pragma once
// vrkcheck: loads a scenario or campaign directory as the editor's load command does and prints
// every message the editor would show, in order, then a summary (or, with --json, the loaded
// scenario as one JSON object); --lint adds the scenario checks' findings; --png draws the map as
// the editor shows it after the load; --timeline lists what happens as every force sails every
// case (the dry run), --at where each one is at a time.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace vrkcheck {

struct TArguments {
    bool Json = false;
    bool Lint = false;  // run the scenario checks too
    bool Timeline = false;  // the dry run's events instead of the load report
    std::string At;         // DDHHMM: every force's position then, instead of the load report
    std::string Png;
    bool Antialias = false;  // smooth drawing of the picture
    // The editor's map area unless --size says otherwise.
    int Width;
    int Height;
    std::string Dir;
    TArguments();
};

// Reads the command line (without the program name) into `arguments`. Nothing when the check can
// run; otherwise the exit status after --help / --version went to `out` or the problem to `err`.
std::optional<int> ParseArguments(const std::vector<std::string>& args, TArguments& arguments, std::ostream& out,
                                  std::ostream& err);

// Whether this build can draw --png pictures (it needs the toolkit's drawing).
bool CanDrawPictures();

// Runs the check; programDir plays the editor's program folder (its "Data" subfolder holds the
// map data). Returns the exit status: 0 when no message was shown (or after --help / --version),
// 1 when any was, 2 for unusable arguments or a picture that cannot be written. With --lint: 0
// when the checks found no error, 1 when they did, 2 when the directory holds no scenario or
// campaign. With --timeline or --at: 0, or 2 when the directory holds no scenario or campaign.
int Run(const std::vector<std::string>& args, const std::string& programDir, std::ostream& out,
        std::ostream& err);

}  // namespace vrkcheck
