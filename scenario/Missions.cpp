#include "scenario/Missions.h"

#include <array>

#include "platform/UserDialogs.h"
#include "scenario/PositionText.h"

namespace scenario {
namespace {

struct MissionTypeText {
    std::string_view keyword;
    std::string_view name;
};

constexpr std::array<MissionTypeText, kMissionTypeCount> kMissionTypes{{
    {"Intercept", "Intercept"},
    {"InterceptTR", "Intercept transports"},
    {"Patrol", "Patrol"},
    {"Bombard", "Bombard"},
    {"FastBombard", "Fast bombard"},
    {"Minelaying", "Minelaying"},
    {"TacTransport", "Tactical transport"},
    {"HvyTacTransport", "Heavy tactical transport"},
    {"SlTacTransport", "Slow tactical transport"},
    {"Convoy", "Convoy"},
    {"FastConvoy", "Fast convoy"},
    {"Cover", "Cover"},
    {"Breakthrough", "Breakthrough"},
    {"Retreat", "Retreat"},
    {"Replenish", "Replenish"},
    {"Raid", "Raid"},
    {"None", "None"},
}};

}  // namespace

TMissionType MissionTypeFromKeyword(std::string_view keyword, platform::UserDialogs& dialogs)
{
    for (int i = 0; i < kMissionTypeCount; ++i)
        if (kMissionTypes[i].keyword == keyword)
            return static_cast<TMissionType>(i);
    dialogs.ShowMessage("Illegal mission type: " + std::string(keyword) + "!");
    return TMissionType::mtNone;
}

std::string MissionTypeName(int type, platform::UserDialogs& dialogs, const std::string& unchanged)
{
    if (type < 0 || type >= kMissionTypeCount) {
        dialogs.ShowMessage("Illegal mission type!");
        return unchanged;
    }
    return std::string(kMissionTypes[type].name);
}

std::string_view MissionTypeKeyword(TMissionType type)
{
    return kMissionTypes[static_cast<int>(type)].keyword;
}

globe::TGeoPoint WaypointPosition(std::string_view value) {
    globe::TGeoPoint point;
    if (!ParsePositionValue(value, point)) throw EMissionError("Lat/Long conversion error");
    return point;
}

}  // namespace scenario
