#include "scenario/ScenarioState.h"

#include <utility>

#include "globe/data/GlobeObjectSource.h"
#include "scenario/Base.h"
#include "scenario/Force.h"

namespace scenario {

namespace {

// Takes a map object out of its source, which owns it, and so destroys it.
void DestroyMapObject(globe::TGlobeObject* object) {
    if (globe::TGlobeObjectSource* source = object->ObjectSource()) source->Remove(object);
}

}  // namespace

TScenarioState::~TScenarioState() { ReleaseScenario(); }

void TScenarioState::ReadSideFile(std::int32_t side, std::string bytes) {
    const std::size_t index = side == 0 ? 0 : 1;
    SideLines[index] = platform::SplitLines(bytes);
    SideFileBytes[index] = std::move(bytes);
}

void TScenarioState::ReleaseScenario() {
    while (!ForceList.empty()) {
        TForce* force = ForceList.back();
        while (!force->Divisions.empty()) {
            auto& ships = force->Divisions.back()->Ships;
            while (!ships.empty()) ships.pop_back();
            force->Divisions.pop_back();
        }
        force->Mission.reset();
        force->FreeOverlays();
        ForceList.pop_back();
        DestroyMapObject(force);
    }
    while (!BaseList.empty()) {
        TBase* base = BaseList.back();
        BaseList.pop_back();
        DestroyMapObject(base);
    }
    ForcesList = {};
}

}  // namespace scenario
