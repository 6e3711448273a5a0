#include "scenario/SideFile.h"

#include "scenario/SideColors.h"

namespace scenario {

std::string SideFileName(bool isCampaign, int side) {
    return SideName(side) + (isCampaign ? "Missions.cfg" : "Ships.cfg");
}

}  // namespace scenario
