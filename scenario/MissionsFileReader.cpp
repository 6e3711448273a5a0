// The force blocks (in the missions files of a campaign and at the head of each force in the
// ships files) with their missions and cases, and the making of forces.

#include <memory>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "platform/FileSystem.h"
#include "platform/IntegerText.h"
#include "scenario/Base.h"
#include "scenario/BaseLookup.h"
#include "scenario/ConfigLines.h"
#include "scenario/Force.h"
#include "scenario/ForcesList.h"
#include "scenario/LabelValue.h"
#include "scenario/MissionLines.h"
#include "scenario/Overlay.h"
#include "scenario/PositionText.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/ScenarioLoader.h"
#include "scenario/ScenarioState.h"
#include "scenario/SideColors.h"

namespace scenario {

namespace {

// "ENDMISSION" or a blank line (only blanks) ends a block or a case.
bool IsBlockEnd(std::string_view line) {
    const std::string_view trimmed = Trimmed(line);
    return trimmed == "ENDMISSION" || trimmed.empty();
}

}  // namespace

void TScenarioLoader::ReadMissionsFiles() {
    ReadMissionFile(State_.ScenarioDir + "AlliedMissions.cfg", 1);
    ReadMissionFile(State_.ScenarioDir + "AxisMissions.cfg", 0);
    RefreshForcesList();
}

void TScenarioLoader::ReadMissionFile(const std::string& file, std::int32_t side) {
    ReadingFile(file);
    if (!Files_.FileExists(file)) {
        Message("Error loading mission info!\rFile: " + file + " does not exist!");
        return;
    }
    State_.SideLines[side] = Files_.ReadLines(file);
    SetReadingSide(side);
    State_.LineCursor = 0;
    try {
        while (State_.LineCursor < static_cast<std::int64_t>(Lines().size())) {
            if (HasKey(CurrentLine(), "[MISSION")) {
                TForce* force = CreateForce(SideName(side) + "2", side);
                ReadForceBlock(*force);
                State_.ForceList.push_back(force);
            }
            ++State_.LineCursor;
        }
    } catch (const std::exception&) {
        Message("Debug: Error in ReadShipList function.\r" + file);
    }
}

void TScenarioLoader::ReadForceBlock(TForce& force) {
    std::int64_t& cursor = State_.LineCursor;
    try {
        const std::string header = CurrentLine();
        ++cursor;
        force.SetTitle(Value(CurrentLine(), "NAME"));
        cursor += 2;  // the line after the name is not used
        if (HasKey(CurrentLine(), "FIRSTDATE=")) {
            if (force.Title().empty()) force.SetTitle(header);
            cursor += 2;
        }
        force.Speed = platform::StrToInt(Value(CurrentLine(), "SPEED"));
        force.CurrentSpeed = force.Speed;
        ++cursor;
        if (HasKey(CurrentLine(), "MISSION=")) {
            ReadMission(force);
        } else {
            Message("Error reading data for TF " + force.Title() + "\r" + "Cannot find Mission data!");
        }
    } catch (const std::exception&) {
        Message("Error reading TF!\rLine no: " + std::to_string(cursor) + "\r" + "Line: " +
                LineForMessage(Lines(), cursor));
    }
}

void TScenarioLoader::ReadMission(TForce& force) {
    std::int64_t& cursor = State_.LineCursor;
    auto mission = std::make_unique<TMission>();
    force.CWPI = -1;
    try {
        mission->MissionType = MissionTypeFromKeyword(Value(CurrentLine()), Dialogs_);
        ++cursor;
        const auto count = static_cast<std::int64_t>(Lines().size());
        while (true) {
            const std::string& line = CurrentLine();
            const bool cover = mission->MissionType == TMissionType::mtCover;
            if (HasKey(line, "COVEREDFORCE")) {
                if (cover) {
                    mission->CoveredForce = Value(line);
                } else {
                    Message("Only cover missions can have a covered force!");
                }
            } else if (HasKey(line, "RELEASE")) {
                if (cover) {
                    mission->ReleaseDistance = platform::StrToInt(Value(line));
                } else {
                    Message("Only cover missions can have a release distance!");
                }
            } else if (HasKey(line, "CASECOUNT")) {
                SelectCase(force, *mission);
            }
            ++cursor;
            if (IsBlockEnd(CurrentLine()) || cursor == count - 2) break;
        }
        force.Mission = std::move(mission);
        if (force.CWPI == -1) force.CWPI = 0;
    } catch (const std::exception& error) {
        Message("Error reading Mission!\rLine no: " + std::to_string(cursor) + "\r" + "Line: " +
                LineForMessage(Lines(), cursor) + "\r" + "Force: " + force.Title() + "\r\r" + error.what());
    }
}

void TScenarioLoader::SelectCase(TForce& force, TMission& mission) {
    std::int64_t& cursor = State_.LineCursor;
    const std::int32_t caseCount = platform::StrToInt(Value(CurrentLine()));
    // 1 + a draw from 0..count-2: the last of two or more cases is never chosen.
    const std::int32_t chosen = 1 + State_.Random.Random(platform::WrapToInt32(std::int64_t{caseCount} - 1));
    // Below one case the draw means nothing and no header may match.
    const std::string header = caseCount >= 1 ? "CASE" + std::to_string(chosen) : std::string();
    while (true) {
        ++cursor;
        const std::string& line = CurrentLine();
        if (line == "ENDMISSION" || Trimmed(line).empty()) {
            Message("Error reading mission!\rCase " + std::to_string(chosen) + " not found!");
            break;
        }
        if (!header.empty() && line == header) {
            mission.ChosenCase = chosen;
            break;
        }
    }
    ReadCaseBody(force, mission);
}

void TScenarioLoader::ReadCaseBody(TForce& force, TMission& mission) {
    std::int64_t& cursor = State_.LineCursor;
    while (true) {
        ++cursor;
        const std::string& line = CurrentLine();
        globe::TGeoPoint point;
        if (HasKey(line, "FORMATIONHEADING")) {
            force.SetHeading(platform::StrToInt(Value(line, "FORMATIONHEADING")));
        } else if (HasKey(line, "LL")) {
            const std::string value = Value(line, "LL");
            if (!value.empty()) {
                const auto [latitude, longitude] = SplitPositionText(value);
                if (ParseLatLong(latitude, longitude, point)) {
                    force.SetLocation(point);
                } else {
                    Message("Errror setting LL " + value + " for TF " + force.Title());
                }
            }
        } else if (HasKey(line, "RD=")) {
            // not used by the editor
        } else if (HasKey(line, "CWPI=")) {
            force.CWPI = platform::StrToInt(Value(line, "CWPI"));
        } else if (HasKey(line, "LOCATION")) {
            const std::string value = Value(line, "LOCATION");
            if (!value.empty()) {
                if (TBase* base = FindBaseByTitle(value)) {
                    force.SetCentroid(base->Location);
                    force.CurrentSpeed = 15;
                } else {
                    Message("Cannot find location \"" + value + "\" for TF " + force.Title());
                }
            }
        } else if (HasKey(line, "DELAY")) {
            // The delay itself is not used; its draw keeps the later draws in step.
            const std::int32_t delay = platform::StrToIntDef(Value(line, "DELAY"), 0);
            if (delay > 0) State_.Random.Random(delay);
        } else if (HasKey(line, "WP=")) {
            mission.OriginPoints.Add(WaypointPosition(Value(line, "WP")));
        } else if (HasKey(line, "TP=")) {
            mission.TargetPoints.Add(WaypointPosition(Value(line, "TP")));
        } else if (HasKey(line, "Target=")) {
            const std::string name = Value(line);
            if (!FindBaseLocation(name, point)) throw EMissionError("Cannot find base " + name + "!");
            mission.TargetPoints.Add(point);
            mission.TargetBase = name;
        } else if (HasKey(line, "Origin=")) {
            const std::string name = Value(line);
            if (!FindBaseLocation(name, point)) throw EMissionError("Cannot find base " + name + "!");
            mission.OriginPoints.Add(point);
            mission.OriginBase = name;
        }
        if (line == "ENDMISSION" || Trimmed(line).empty() || HasKey(line, "CASE")) break;
    }
}

TForce* TScenarioLoader::CreateForce(const std::string& title, std::int32_t side) {
    globe::TGlobeLayer& layer = LayerByNameOrNew(Globe_, kTrackingLayer);
    TForce* force = TForce::CreateIn(*layer.ObjectSource());
    force->Side = side;
    force->SetTitle(title);
    force->SetPresenterID(PointPresenterFor(Globe_, SideColor(side)));
    force->TrackOverlay->SetPresenterID(PolyPresenterFor(Globe_, kTrackColor));
    force->RouteOverlay->SetPresenterID(PolyPresenterFor(Globe_, kRouteColor));
    return force;
}

TBase* TScenarioLoader::FindBaseByTitle(std::string_view name) const {
    return scenario::FindBaseByTitle(State_.BaseList, name);
}

bool TScenarioLoader::FindBaseLocation(std::string_view name, globe::TGeoPoint& point) const {
    return scenario::FindBaseLocation(State_.BaseList, name, point);
}

void TScenarioLoader::RefreshForcesList() {
    scenario::RefreshForcesList(State_.ForcesList, State_.ForceList, Dialogs_);
}

}  // namespace scenario
