#pragma once
// A headless run of the editor's load command on one directory: a fresh globe core and scenario
// state, every message the editor would show recorded in order, and the loaded scenario written
// out as JSON or as a short text summary.

#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "platform/RegionalSettings.h"
#include "scenario/LintFinding.h"
#include "scenario/ScenarioLoader.h"

namespace globe {
class TCustomVoduz4;
class TVoduz4;
}
namespace platform {
class DrawingSurface;
class FileSystem;
class UserDialogs;
}  // namespace platform

namespace scenario {

class TScenarioState;

// A loaded scenario as the JSON document of vrkcheck --json (see docs/VRKCHECK.md): the kind, the
// caption and start, the messages of the load, the layers, bases, zones and forces.
nlohmann::ordered_json ScenarioJsonDocument(TScenarioKind kind, const std::vector<std::string>& messages,
                                            TScenarioState& state, globe::TCustomVoduz4& globe,
                                            platform::UserDialogs& dialogs);

class TLoadCheck {
public:
    // programDir plays the editor's own folder (its "Data" subfolder holds the map data).
    TLoadCheck(platform::FileSystem& files, platform::RegionalSettings settings, std::string programDir);
    ~TLoadCheck();

    // Loads the directory as the load command does after its directory dialog. An error that
    // no reader handles (a missing "Data" folder) is recorded as the message the application
    // would show.
    void Run(const std::string& dir);

    TScenarioKind Kind() const { return Kind_; }
    const std::vector<std::string>& Messages() const;
    globe::TCustomVoduz4& Globe() { return *Globe_; }
    // The same globe as a map view that can render headless.
    globe::TVoduz4& View();
    TScenarioState& State() { return *State_; }

    // Draws the map as the editor shows it right after the load: the editor's start settings (set
    // when the check was made), the loaded layers, then the bases' ranges and minefields. A size
    // other than the editor's map area follows the view's resizing rules first.
    void Paint(platform::DrawingSurface& surface, int width, int height);

    // Runs the scenario checks on the loaded scenario, against the land of its environment or
    // of the default world map; the JSON document then carries the findings too.
    const std::vector<TLintFinding>& Lint();
    const std::vector<TLintFinding>& Findings() const { return Findings_; }
    // The findings one per line ("FILE:LINE: severity: message [code]", FILE behind filePrefix),
    // then a count line.
    std::string FindingsText(std::string_view filePrefix = {}) const;

    // The whole result as one JSON object (see docs/VRKCHECK.md); a caller may add keys to the
    // document before writing it.
    nlohmann::ordered_json JsonDocument();
    // The document as one line of JSON and a line end.
    std::string Json();
    // The messages, each followed by its lines indented, then a one-line summary.
    std::string Text() const;

private:
    class TMessageLog;
    platform::UserDialogs& Dialogs();

    platform::FileSystem& Files_;
    platform::RegionalSettings Settings_;
    std::string ProgramDir_;
    std::unique_ptr<TMessageLog> Log_;
    std::unique_ptr<globe::TCustomVoduz4> Globe_;  // a TVoduz4; outlives the state, whose objects it holds
    std::unique_ptr<TScenarioState> State_;
    TScenarioKind Kind_ = TScenarioKind::skNone;
    bool Linted_ = false;
    std::vector<TLintFinding> Findings_;
};

}  // namespace scenario
