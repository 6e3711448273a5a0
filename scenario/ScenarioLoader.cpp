#include "scenario/ScenarioLoader.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "globe/data/CustomVoduz4.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/IntegerText.h"
#include "platform/PathNames.h"
#include "platform/UserDialogs.h"
#include "scenario/Base.h"
#include "scenario/ConfigLines.h"
#include "scenario/LabelValue.h"
#include "scenario/PositionText.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/ScenarioState.h"
#include "scenario/ScenarioTime.h"
#include "scenario/SideColors.h"

namespace scenario {

namespace {

const platform::TextLines kNoLines;

std::string DataFolder(const std::string& programDir) {
    return platform::WithTrailingSeparator(programDir) + "Data";
}

}  // namespace

TScenarioLoader::TScenarioLoader(TScenarioState& state, globe::TCustomVoduz4& globe,
                                 platform::UserDialogs& dialogs, platform::FileSystem& files,
                                 platform::RegionalSettings settings, std::string programDir)
    : State_(state),
      Globe_(globe),
      Dialogs_(dialogs),
      Diagnostics_(dynamic_cast<TDiagnosticSink*>(&dialogs)),
      Files_(files),
      Settings_(std::move(settings)),
      ProgramDir_(std::move(programDir)),
      Lines_(&kNoLines) {}

const std::string& TScenarioLoader::CurrentLine() const { return LineAt(Lines(), State_.LineCursor); }

std::string TScenarioLoader::LineForMessage(const platform::TextLines& lines, std::int64_t index) {
    if (index < 0 || static_cast<std::uint64_t>(index) >= lines.size()) return {};
    return lines[static_cast<std::size_t>(index)];
}

std::string TScenarioLoader::Value(std::string_view line, std::string_view label) {
    return ReadLabelValue(line, label, Dialogs_);
}

void TScenarioLoader::Message(const std::string& text) { Dialogs_.ShowMessage(text); }

void TScenarioLoader::Message(const std::string& text, std::int64_t index) {
    if (Diagnostics_ == nullptr) {
        Dialogs_.ShowMessage(text);
        return;
    }
    Diagnostics_->Report(MessageDiagnostic(text, DiagnosticLine(index)));
}

void TScenarioLoader::ReadingFile(const std::string& file) {
    if (!OnReadFile) return;
    const bool bare = file.find_first_of("/\\") == std::string::npos;
    OnReadFile(bare ? State_.ScenarioDir + file : file);
}

void TScenarioLoader::SetReadingSide(std::int32_t side) { Lines_ = &State_.SideLines[side == 0 ? 0 : 1]; }

TScenarioKind DirectoryKind(platform::FileSystem& files, const std::string& dir) {
    const std::string folder = platform::WithTrailingSeparator(dir);
    if (files.FileExists(folder + "Scenarioinfo.cfg")) return TScenarioKind::skScenario;
    if (files.FileExists(folder + "CampaignInfo.cfg")) return TScenarioKind::skCampaign;
    return TScenarioKind::skNone;
}

std::string ScenarioCaption(const std::string& dir) {
    return "VRK scenario editor - " + platform::LastPathComponent(dir);
}

TScenarioKind TScenarioLoader::LoadDirectory(const std::string& dir) {
    const std::string caption = ScenarioCaption(dir);
    const TScenarioKind kind = DirectoryKind(Files_, dir);
    if (kind == TScenarioKind::skScenario) {
        LoadScenario(dir);
        State_.Caption = caption;
        State_.IsCampaign = false;
    } else if (kind == TScenarioKind::skCampaign) {
        LoadCampaign(dir);
        State_.Caption = caption;
        State_.IsCampaign = true;
    } else {
        Dialogs_.ShowError(kNotAScenarioMessage);
    }
    return kind;
}

void TScenarioLoader::ReleasePreviousScenario() {
    // Clearing the globe destroys the map objects: the lists must not keep referring to them.
    State_.ReleaseScenario();
    State_.SideLines = {};
}

void TScenarioLoader::LoadScenario(const std::string& dir) {
    State_.Modified = false;
    State_.ScenarioDir = platform::WithTrailingSeparator(dir);
    ReleasePreviousScenario();
    Globe_.ClearEnvironment();
    const std::string data = DataFolder(ProgramDir_);
    Globe_.SetDataDirectory(data);
    Files_.SetCurrentDirectory(data);  // a missing folder ends the load here
    ReadEnvironmentSetting(State_.ScenarioDir);
    ReadAllBases(State_.ScenarioDir);
    Files_.SetCurrentDirectory(State_.ScenarioDir);
    ReadStartInfo("ScenarioInfo.cfg");
    State_.TimeLabel = ScenarioStartLabel(State_.StartTime, Settings_);
    Files_.SetCurrentDirectory(State_.ScenarioDir);
    ReadSubZones("Subs1.cfg", kAlliedSubsLayer, kAlliedColor);
    ReadSubZones("Subs0.cfg", kAxisSubsLayer, kAxisColor);
    ReadShipsFiles();
}

void TScenarioLoader::LoadCampaign(const std::string& dir) {
    State_.Modified = false;
    State_.ScenarioDir = platform::WithTrailingSeparator(dir);
    ReleasePreviousScenario();
    Globe_.ClearEnvironment();
    Globe_.SetDataDirectory(ProgramDir_);
    Files_.SetCurrentDirectory(State_.ScenarioDir);
    ReadEnvironmentSetting(State_.ScenarioDir);
    ReadAllBases(State_.ScenarioDir);
    Files_.SetCurrentDirectory(State_.ScenarioDir);
    ReadStartInfo("CampaignInfo.cfg");
    State_.StartTime = CampaignStart(State_.StartTime);
    State_.TimeLabel = CampaignStartLabel(State_.StartTime, Settings_);
    Files_.SetCurrentDirectory(State_.ScenarioDir);
    ReadSubZones("Subs1.cfg", kAlliedSubsLayer, kAlliedColor);
    ReadSubZones("Subs0.cfg", kAxisSubsLayer, kAxisColor);
    ReadMissionsFiles();
}

void TScenarioLoader::ReadEnvironmentSetting(const std::string& dir) {
    std::string infoFile = dir + "ScenarioInfo.cfg";
    if (!Files_.FileExists(infoFile)) {
        if (!Files_.FileExists(dir + "CampaignInfo.cfg")) {
            ReadingFile(infoFile);
            Message("Error loading scenarioinfo!\rFile: " + infoFile + " does not exist!");
            return;
        }
        infoFile = dir + "CampaignInfo.cfg";
    }
    ReadingFile(infoFile);
    const platform::TextLines lines = Files_.ReadLines(infoFile);
    std::int64_t i = 0;
    try {
        // The first line is looked at before the count is tested.
        do {
            const std::string& line = LineAt(lines, i);
            if (HasKey(line, "EnvironmentFile")) {
                Globe_.SetDataDirectory(dir);
                Files_.SetCurrentDirectory(DataFolder(ProgramDir_));
                const std::string name = dir + Value(line);
                if (Files_.FileExists(name)) {
                    // The repairs of the environment file are about that file.
                    const std::string environment = Files_.ResolveName(name);
                    ReadingFile(environment);
                    try {
                        LoadEnvironmentFile(environment);
                    } catch (const platform::EFileError& error) {
                        // Not a file that can be read (a device, a FIFO, too large): the reason
                        // names it; the scenario loads without the environment.
                        Message(error.what());
                    } catch (...) {
                        ReadingFile(infoFile);
                        throw;
                    }
                    ReadingFile(infoFile);
                } else {
                    Message("Cannot find environment file: " + name + "!");
                }
                Globe_.SetDataDirectory(State_.ScenarioDir);
            }
            ++i;
        } while (i < static_cast<std::int64_t>(lines.size()));
    } catch (const std::exception&) {
        Message("Error reading scenario data!\rFile: " + infoFile + "\rLine no: " + std::to_string(i) + "\r" +
                "Line: " + LineForMessage(lines, i), i);
    }
}

void TScenarioLoader::LoadEnvironmentFile(const std::string& fileName) {
    // The repairs of a faulty file are shown together once the file is read (or has failed).
    std::vector<std::string> repairs;
    auto previous = std::exchange(Globe_.OnEnvironmentWarning, [&](globe::TCustomVoduz4&, const std::string& text) {
        repairs.push_back(text);
    });
    const auto report = [&] {
        Globe_.OnEnvironmentWarning = std::move(previous);
        std::string text;
        for (const std::string& repair : repairs)
            text += (text.empty() ? "" : "\r") + repair;
        if (!text.empty())
            Message(text);
    };
    try {
        Globe_.SetEnvironmentFile(fileName);
    } catch (...) {
        report();
        throw;
    }
    report();
}

void TScenarioLoader::ReadAllBases(const std::string& dir) {
    if (!ReadBaseFile(dir + "AxisBases.cfg", 0)) Message("Error reading axis bases!");
    if (!ReadBaseFile(dir + "AlliedBases.cfg", 1)) Message("Error reading allied bases!");
}

void TScenarioLoader::ReadStartInfo(const std::string& fileName) {
    ReadingFile(fileName);
    if (!Files_.FileExists(fileName)) {
        if (platform::SameNameIgnoringCase(fileName, "CampaignInfo.cfg")) {
            Message("Error loading Campaigninfo!\rFile: CampaignInfo.cfg does not exist!");
        } else {
            Message("Error loading scenarioinfo!\rFile: ScenarioInfo.cfg does not exist!");
        }
        return;
    }
    const platform::TextLines lines = Files_.ReadLines(fileName);
    bool fleetStart = false;
    std::int64_t i = 0;
    try {
        do {
            const std::string& line = LineAt(lines, i);
            if (HasKey(line, "FSL")) {
                // The fourth character is the fleet's number.
                platform::StrToInt(line.size() > 3 ? line.substr(3, 1) : std::string());
                fleetStart = true;
            } else if (HasKey(line, "LL=")) {
                if (fleetStart) {
                    const auto [latitude, longitude] = SplitPositionText(Value(line, "LL"));
                    globe::TGeoPoint point;
                    if (!ParseLatLong(latitude, longitude, point)) {
                        Message("Format error in LL string!\rString: " + line + "\r" + "Line number: " +
                                std::to_string(i), i);
                    }
                    fleetStart = false;
                }
            } else if (HasKey(line, "StartDate")) {
                State_.StartTime = StartDateFromText(Value(line));
            } else if (HasKey(line, "StartHour")) {
                State_.StartTime = AddStartHour(State_.StartTime, Value(line));
            }
            ++i;
        } while (i < static_cast<std::int64_t>(lines.size()));
    } catch (const std::exception&) {
        Message("Error reading scenario data!\rFile: " + fileName + "\rLine no: " + std::to_string(i) + "\r" +
                "Line: " + LineForMessage(lines, i), i);
    }
}

}  // namespace scenario
