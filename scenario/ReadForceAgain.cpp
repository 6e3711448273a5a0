#include "scenario/ReadForceAgain.h"

#include "scenario/Force.h"
#include "scenario/ForceHeader.h"
#include "scenario/ScenarioLoader.h"
#include "scenario/ScenarioState.h"

namespace scenario {

void ReadForceAgain(TScenarioLoader& loader, TScenarioState& state, TForce& force) {
    const platform::TextLines& lines = state.SideLines[force.Side == 0 ? 0 : 1];
    if (const auto header = FindForceHeader(lines, force.Title())) {
        loader.SetReadingSide(force.Side);
        const std::int64_t loadCursor = state.LineCursor;
        state.LineCursor = static_cast<std::int64_t>(*header);
        loader.ReadForceBlock(force);
        state.LineCursor = loadCursor;
    }
    loader.RefreshForcesList();
}

}  // namespace scenario
