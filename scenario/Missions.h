#pragma once
// Mission types of a task force and the mission read from its force block.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "globe/data/PointStore.h"

namespace platform {
class UserDialogs;
}

namespace scenario {

enum class TMissionType : std::uint8_t {
    mtIntercept,
    mtInterceptTR,
    mtPatrol,
    mtBombard,
    mtFastBombard,
    mtMinelaying,
    mtTacTransport,
    mtHvyTacTransport,
    mtSlTacTransport,
    mtConvoy,
    mtFastConvoy,
    mtCover,
    mtBreakthrough,
    mtRetreat,
    mtReplenish,
    mtRaid,
    mtNone,
};

inline constexpr int kMissionTypeCount = 17;

// Raised by the missions reader for a waypoint or base that cannot be used.
class EMissionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The position of a waypoint or target value; throws EMissionError("Lat/Long conversion error")
// when it cannot be read.
globe::TGeoPoint WaypointPosition(std::string_view value);

// The type of a "MISSION=" keyword (exact, case-sensitive). Any other keyword shows
// "Illegal mission type: <keyword>!" and yields mtNone.
TMissionType MissionTypeFromKeyword(std::string_view keyword, platform::UserDialogs& dialogs);

// The display name of a type value. A value outside 0..16 shows "Illegal mission type!" and
// returns `unchanged`.
std::string MissionTypeName(int type, platform::UserDialogs& dialogs,
                            const std::string& unchanged = {});

// The file keyword of a type ("Intercept", "InterceptTR", ...).
std::string_view MissionTypeKeyword(TMissionType type);

// The mission of one force, as read from its randomly chosen case.
class TMission {
public:
    TMissionType MissionType = TMissionType::mtIntercept;
    std::string CoveredForce;
    globe::TPointStore OriginPoints;
    globe::TPointStore TargetPoints;
    std::int32_t ReleaseDistance = 0;
    std::string TargetBase;
    std::string OriginBase;
    // The case the load drew (1..), whose lines it read; 0 when none was found.
    int ChosenCase = 0;
};

}  // namespace scenario
