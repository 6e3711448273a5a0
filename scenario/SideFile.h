#pragma once
// The file a side's lines are written back to.

#include <string>

namespace scenario {

// "AxisShips.cfg" / "AlliedShips.cfg" for a scenario (the missions stand in the ships files),
// "AxisMissions.cfg" / "AlliedMissions.cfg" for a campaign. Side 0 is the Axis, any other the
// Allied side.
std::string SideFileName(bool isCampaign, int side);

}  // namespace scenario
