#pragma once
// The rows of the forces list: one per force of either side, in load order, with the texts of
// the "Name", "Speed" and "Mission" columns. The list widget shows these rows.

#include <cstdint>
#include <string>
#include <vector>

namespace platform {
class UserDialogs;
}

namespace scenario {

class TForce;

struct TForceListRow {
    TForce* Force = nullptr;
    std::string Name;
    std::string Speed;
    std::string Mission;  // empty when the force has no mission
};

struct TForcesListView {
    std::vector<TForceListRow> Rows;
    std::int32_t Selected = -1;  // row index, -1 when none
};

// The "Mission" column: the type name, then a blank and the target base for Bombard,
// TacTransport and Convoy missions, or a blank and the covered force for Cover missions.
std::string MissionColumnText(const TForce& force, platform::UserDialogs& dialogs);

// Rebuilds the rows from the forces. The row of the force selected before, or of a force with
// the same title, is selected again (the last such row, as in a single-selection list).
void RefreshForcesList(TForcesListView& view, const std::vector<TForce*>& forces,
                       platform::UserDialogs& dialogs);

}  // namespace scenario
