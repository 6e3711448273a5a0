// The ships files of a scenario: force headers with their force blocks, division headers and
// ship entries.

#include <algorithm>
#include <stdexcept>

#include "platform/FileSystem.h"
#include "platform/IntegerText.h"
#include "scenario/Base.h"
#include "scenario/ConfigLines.h"
#include "scenario/Force.h"
#include "scenario/LabelValue.h"
#include "scenario/ScenarioLoader.h"
#include "scenario/ScenarioState.h"
#include "scenario/SideColors.h"

namespace scenario {

int ClassifyShipLine(std::string_view line) {
    if (HasKey(line, "NAME")) return 3;
    return (HasKey(line, "[TF") ? 1 : 0) + (HasKey(line, "DIVISION") ? 1 : 0);
}

void TScenarioLoader::ReadShipsFiles() {
    ReadShipFile(State_.ScenarioDir + "AlliedShips.cfg", 1);
    ReadShipFile(State_.ScenarioDir + "AxisShips.cfg", 0);
    RefreshForcesList();
}

void TScenarioLoader::ForgetShipInBases(const TShip& ship) {
    for (TBase* base : State_.BaseList) std::erase(base->Ships, &ship);
}

void TScenarioLoader::ReadShipFile(const std::string& file, std::int32_t side) {
    ReadingFile(file);
    if (!Files_.FileExists(file)) {
        Message("Error loading ship info!\rFile: " + file + " does not exist!");
        return;
    }
    State_.ReadSideFile(side, Files_.ReadBytes(file));
    SetReadingSide(side);
    State_.LineCursor = 0;
    TForce* force = nullptr;
    TDivision* division = nullptr;
    try {
        while (State_.LineCursor < static_cast<std::int64_t>(Lines().size())) {
            const std::string line = CurrentLine();
            switch (ClassifyShipLine(line)) {
            case 1: {
                platform::StrToInt(Value(LineAt(Lines(), State_.LineCursor + 2)));
                const std::int32_t number = platform::StrToInt(line.size() > 3 ? line.substr(3, 1) : std::string());
                force = CreateForce(SideName(side) + std::to_string(number + 1), side);
                ReadForceBlock(*force);
                State_.ForceList.push_back(force);
                break;
            }
            case 2: {
                if (force == nullptr) throw std::logic_error("division before any force");
                division = force->Divisions.emplace_back(std::make_unique<TDivision>()).get();
                division->Formation = Value(LineAt(Lines(), State_.LineCursor + 1), "FORMATION");
                if (HasKey(LineAt(Lines(), State_.LineCursor + 2), "ENCUMBERED")) division->Encumbered = "1";
                break;
            }
            case 3: {
                auto ship = std::make_unique<TShip>();
                if (ReadShip(*ship)) {
                    if (ship->Presence == kShipAbsent || division == nullptr) {
                        // The ship is freed: no base may keep referring to it.
                        ForgetShipInBases(*ship);
                        if (division == nullptr) throw std::logic_error("ship before any division");
                    } else {
                        division->Ships.push_back(std::move(ship));
                    }
                }
                break;
            }
            default:
                break;
            }
            ++State_.LineCursor;
        }
    } catch (const std::exception&) {
        Message("Debug: Error in ReadShipList function.\r" + file);
    }
}

bool TScenarioLoader::ReadShip(TShip& ship) {
    bool result = true;
    std::int64_t& cursor = State_.LineCursor;
    const auto count = static_cast<std::int64_t>(Lines().size());
    try {
        ship.Sheet.Name = Value(CurrentLine(), "NAME");
        ++cursor;
        ship.Sheet.Type = Value(CurrentLine(), "TYPE");
        cursor += 2;  // the line after the type is not used
        ship.Endurance = platform::StrToInt(Value(CurrentLine(), "ENDURANCE"));
        ship.MaxEndurance = ship.Endurance;
        ship.ReconRange = 0;
        ++cursor;
        if (CurrentLine().starts_with("CURRENTENDURANCE")) {
            ship.Endurance = platform::StrToInt(Value(CurrentLine(), "CURRENTENDURANCE"));
            ++cursor;
        }
        if (CurrentLine().starts_with("RECONRANGE")) {
            ship.ReconRange = platform::StrToInt(Value(CurrentLine(), "RECONRANGE"));
            ++cursor;
        }
        const std::string location = Value(CurrentLine(), "LOCATION");
        if (!location.empty()) {
            if (TBase* base = FindBaseByTitle(location)) {
                base->Ships.push_back(&ship);
            } else {
                Message("Cannot find location \"" + location + "\" for ship " + ship.Name());
                result = false;
            }
        }
        if (cursor < count - 2) {
            ++cursor;
            if (HasKey(CurrentLine(), "RND=")) {
                const std::int32_t chance = platform::StrToInt(Value(CurrentLine(), "RND"));
                if (chance < State_.Random.Random(100)) ship.Presence = kShipAbsent;
                if (cursor < count - 2) ++cursor;
            }
        }
    } catch (const std::exception&) {
        Message("Error reading ship!\rShip Name: " + ship.Name() + "\r" + "Line no: " + std::to_string(cursor) +
                "\r" + "Line: " + LineForMessage(Lines(), cursor), cursor);
    }
    return result;
}

}  // namespace scenario
