#include "scenario/ForcesList.h"

#include "scenario/Force.h"

namespace scenario {

std::string MissionColumnText(const TForce& force, platform::UserDialogs& dialogs) {
    if (!force.Mission) return {};
    const TMission& mission = *force.Mission;
    std::string text = MissionTypeName(static_cast<int>(mission.MissionType), dialogs);
    switch (mission.MissionType) {
    case TMissionType::mtBombard:
    case TMissionType::mtTacTransport:
    case TMissionType::mtConvoy:
        text += " " + mission.TargetBase;
        break;
    case TMissionType::mtCover:
        text += " " + mission.CoveredForce;
        break;
    default:
        break;
    }
    return text;
}

void RefreshForcesList(TForcesListView& view, const std::vector<TForce*>& forces,
                       platform::UserDialogs& dialogs) {
    TForce* selectedForce = nullptr;
    std::string selectedTitle;
    const bool hadSelection = view.Selected >= 0 && view.Selected < static_cast<std::int32_t>(view.Rows.size());
    if (hadSelection) {
        selectedForce = view.Rows[static_cast<std::size_t>(view.Selected)].Force;
        selectedTitle = view.Rows[static_cast<std::size_t>(view.Selected)].Name;
    }
    view.Rows.clear();
    view.Selected = -1;
    for (TForce* force : forces) {
        TForceListRow row;
        row.Force = force;
        row.Name = force->Title();
        row.Speed = std::to_string(force->Speed);
        row.Mission = MissionColumnText(*force, dialogs);
        if (hadSelection && (force == selectedForce || row.Name == selectedTitle)) {
            view.Selected = static_cast<std::int32_t>(view.Rows.size());
        }
        view.Rows.push_back(std::move(row));
    }
}

}  // namespace scenario
