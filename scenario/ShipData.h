#pragma once
// The plain (non-map) scenario objects: ships and the divisions that group them.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace scenario {

// The ship's data sheet. The game carries many fields; the editor fills only the name and type.
struct TFSShip {
    std::string Name;
    std::string Type;
    std::array<std::string, 62> Other;
};

// An air group carried by a ship; data of the game that the editor never fills.
struct TAirGroup {
    std::string Name;
    std::string Type;
};

// Presence value of a ship that the random presence test removed.
inline constexpr std::int32_t kShipAbsent = -40;

class TShip {
public:
    TFSShip Sheet;
    std::int32_t Presence = 0;
    double Endurance = 0;
    double MaxEndurance = 0;
    TAirGroup AirGroup;
    std::int32_t ReconRange = 0;

    const std::string& Name() const { return Sheet.Name; }
    const std::string& Type() const { return Sheet.Type; }
};

class TDivision {
public:
    std::string Formation;
    std::string Encumbered;  // "1" when the division is encumbered, else empty
    std::vector<std::unique_ptr<TShip>> Ships;
};

}  // namespace scenario
