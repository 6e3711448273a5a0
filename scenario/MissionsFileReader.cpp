// The force blocks (in the missions files of a campaign and at the head of each force in the
// ships files) with their missions and cases, and the making of forces.

#include <memory>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "platform/FileSystem.h"
#include "platform/IntegerText.h"
#include "scenario/Base.h"
#include "scenario/BaseLookup.h"
#include "scenario/CaseLines.h"
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
    State_.ReadSideFile(side, Files_.ReadBytes(file));
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
                LineForMessage(Lines(), cursor), cursor);
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
                LineForMessage(Lines(), cursor) + "\r" + "Force: " + force.Title() + "\r\r" + error.what(), cursor);
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
    const platform::TextLines& lines = Lines();
    // The case runs to the first line that is "ENDMISSION", blank or holds "CASE"; that line is
    // read as a case line too.
    auto last = static_cast<std::size_t>(cursor + 1);
    while (last < lines.size() && lines[last] != "ENDMISSION" && !Trimmed(lines[last]).empty() &&
           !HasKey(lines[last], "CASE"))
        ++last;
    const TParsedCase parsed = ParseCaseLines(lines, static_cast<std::size_t>(cursor + 1), last + 1, State_.BaseList);
    const std::string whose = "for TF " + force.Title();
    for (const TCaseLineRead& read : parsed.Lines) {
        cursor = static_cast<std::int64_t>(read.Line);
        for (const TCaseLineFault& fault : read.Faults) {
            // The fault ends the mission's reading with the line it stands on.
            if (fault.EndsCase) throw EMissionError(CaseFaultMessage(read, fault, whose, whose));
            Message(CaseFaultMessage(read, fault, whose, whose));
        }
        switch (read.Kind) {
            case TCaseLineKind::FormationHeading:
                force.SetHeading(read.Number.value_or(0));
                break;
            case TCaseLineKind::LL:
                if (read.Point) force.SetLocation(read.Point->Point);
                break;
            case TCaseLineKind::CWPI:
                force.CWPI = read.Number.value_or(0);
                break;
            case TCaseLineKind::Location:
                if (read.Point) {
                    force.SetCentroid(read.Point->Point);
                    force.CurrentSpeed = 15;
                }
                break;
            case TCaseLineKind::Delay:
                // The delay itself is not used; its draw keeps the later draws in step.
                if (read.Number.value_or(0) > 0) State_.Random.Random(*read.Number);
                break;
            case TCaseLineKind::WP:
                mission.OriginPoints.Add(read.Point->Point);
                break;
            case TCaseLineKind::TP:
                mission.TargetPoints.Add(read.Point->Point);
                break;
            case TCaseLineKind::Target:
                mission.TargetPoints.Add(read.Point->Point);
                mission.TargetBase = read.Value;
                break;
            case TCaseLineKind::Origin:
                mission.OriginPoints.Add(read.Point->Point);
                mission.OriginBase = read.Value;
                break;
            default:  // RD= and other lines are not used by the editor
                break;
        }
    }
    cursor = static_cast<std::int64_t>(last);
    // Lines that end without one: the reading fails past the end, as reading line by line does.
    if (last >= lines.size()) CurrentLine();
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
