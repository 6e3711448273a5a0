#pragma once
// Loading of a scenario or campaign directory into the scenario state and the globe: the
// information file with the environment and start time, both sides' bases, the submarine zones,
// and the forces from the ships files (scenario) or the missions files (campaign).
//
// Data errors are shown to the user one message at a time and reading goes on; every file reader
// has one error handler around its line loop that shows its own message and ends that file.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeColor.h"
#include "platform/RegionalSettings.h"
#include "platform/TextLines.h"
#include "scenario/Diagnostic.h"

namespace globe {
class TCustomVoduz4;
}
namespace platform {
class FileSystem;
class UserDialogs;
}  // namespace platform

namespace scenario {

class TBase;
class TForce;
class TMission;
class TScenarioState;
class TShip;

// What the load command found in a directory.
enum class TScenarioKind { skNone, skScenario, skCampaign };

inline const char* const kNotAScenarioMessage =
    "This directory does not appear to contain a Varnel scenario or campaign!";

// What a directory holds: a scenario when it has ScenarioInfo.cfg, else a campaign when it has
// CampaignInfo.cfg (names in any letter case), else neither.
TScenarioKind DirectoryKind(platform::FileSystem& files, const std::string& dir);
// The main window's caption for a scenario or campaign in the folder dir.
std::string ScenarioCaption(const std::string& dir);

// Line kinds of a ships file: 0 skipped, 1 force header, 2 division header, 3 ship entry.
int ClassifyShipLine(std::string_view line);

class TScenarioLoader {
public:
    // programDir is the editor's own folder; its "Data" subfolder holds the map data.
    TScenarioLoader(TScenarioState& state, globe::TCustomVoduz4& globe, platform::UserDialogs& dialogs,
                    platform::FileSystem& files, platform::RegionalSettings settings, std::string programDir);

    // The load command after the directory choice: a directory holding ScenarioInfo.cfg is
    // loaded as a scenario, else one holding CampaignInfo.cfg as a campaign (names in any letter
    // case), else the error "This directory does not appear to contain a Varnel scenario or
    // campaign!" is shown. Sets the caption and IsCampaign. A missing "Data" folder of the
    // program ends a scenario load with platform::EFileError (caption unchanged).
    TScenarioKind LoadDirectory(const std::string& dir);

    void LoadScenario(const std::string& dir);
    void LoadCampaign(const std::string& dir);

    void ReadEnvironmentSetting(const std::string& dir);
    void ReadAllBases(const std::string& dir);
    bool ReadBaseFile(const std::string& file, std::int32_t side);
    void ReadSubZones(const std::string& file, std::string_view layerName, globe::TColor color);
    void ReadStartInfo(const std::string& fileName);

    void ReadShipsFiles();
    void ReadShipFile(const std::string& file, std::int32_t side);
    // Reads the ship entry at the line cursor of the side file being read.
    bool ReadShip(TShip& ship);

    void ReadMissionsFiles();
    void ReadMissionFile(const std::string& file, std::int32_t side);
    // The force block whose header is at the line cursor; the cursor ends on the last line read.
    void ReadForceBlock(TForce& force);
    // The mission whose "MISSION=" line is at the line cursor.
    void ReadMission(TForce& force);

    // Makes the lines of a side the ones the block, ship and mission readers walk.
    void SetReadingSide(std::int32_t side);

    // A force in the layer "TrackingLayer" with the presenters of its side and its lines.
    TForce* CreateForce(const std::string& title, std::int32_t side);
    // The first base with exactly that title, or null.
    TBase* FindBaseByTitle(std::string_view name) const;
    // The Location of the first base with exactly that title.
    bool FindBaseLocation(std::string_view name, globe::TGeoPoint& point) const;
    // Rebuilds the forces list rows.
    void RefreshForcesList();

    // Told the full name of each scenario file as its reader starts on it, so that the messages
    // that follow can be filed under it.
    std::function<void(const std::string& file)> OnReadFile;

private:
    const platform::TextLines& Lines() const { return *Lines_; }
    // The line at the cursor; past the end it throws like any line index error.
    const std::string& CurrentLine() const;
    // The line at an index for an error message: empty when the index is past the lines.
    static std::string LineForMessage(const platform::TextLines& lines, std::int64_t index);
    std::string Value(std::string_view line, std::string_view label = {});
    void Message(const std::string& text);
    // A message about line `index` (0-based) of the file being read: a record with its line
    // when the dialogs take records (TDiagnosticSink), else the message alone.
    void Message(const std::string& text, std::int64_t index);
    // Reports the file a reader starts on (a bare name stands in the scenario directory).
    void ReadingFile(const std::string& file);
    // Loads the environment file into the globe; the repairs of a faulty file become one message.
    void LoadEnvironmentFile(const std::string& fileName);
    void ReleasePreviousScenario();
    // Takes a ship out of every base's list of ships in port (the ship is about to be freed).
    void ForgetShipInBases(const TShip& ship);
    // From a "CASECOUNT" line: draws the case, finds its header and reads its body.
    void SelectCase(TForce& force, TMission& mission);
    // The chosen case's lines up to the next header, "ENDMISSION" or blank line.
    void ReadCaseBody(TForce& force, TMission& mission);

    TScenarioState& State_;
    globe::TCustomVoduz4& Globe_;
    platform::UserDialogs& Dialogs_;
    TDiagnosticSink* Diagnostics_;  // the dialogs as a sink of records, when they are one
    platform::FileSystem& Files_;
    platform::RegionalSettings Settings_;
    std::string ProgramDir_;
    const platform::TextLines* Lines_;
};

}  // namespace scenario
