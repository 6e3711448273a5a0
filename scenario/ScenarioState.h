#pragma once
// What the main window holds for the loaded scenario: the directory, the kind, the start, the
// bases and forces, each side's file lines, the readers' shared line cursor, the generator of
// the random choices and the texts the window shows.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/TextLines.h"
#include "scenario/ForcesList.h"
#include "scenario/RandomGenerator.h"

namespace scenario {

class TBase;
class TForce;

class TScenarioState {
public:
    TScenarioState() = default;
    TScenarioState(const TScenarioState&) = delete;
    TScenarioState& operator=(const TScenarioState&) = delete;
    // Releases the scenario (ReleaseScenario); the globe that holds the objects must still exist.
    ~TScenarioState();

    // A side file as read: its bytes kept as they are, its lines split from them.
    void ReadSideFile(std::int32_t side, std::string bytes);

    std::string ScenarioDir;  // with a trailing separator
    bool IsCampaign = false;
    double StartTime = 0;
    // In load order. The objects live in their layers' sources; the lists refer to them.
    std::vector<TForce*> ForceList;
    std::vector<TBase*> BaseList;
    std::array<platform::TextLines, 2> SideLines;  // index = side
    // Each side file's bytes as the load read them or the last save wrote them (none when the
    // file was missing): a save tells from them whether another program changed the file since.
    std::array<std::string, 2> SideFileBytes;
    std::int64_t LineCursor = 0;
    bool Modified = false;
    TRandomGenerator Random;
    std::string TimeLabel;  // the time box's text
    std::string Caption = "Corvalis scenario editor";  // the main window's caption
    TForcesListView ForcesList;

    // Frees the scenario: the forces from the last to the first (each with its divisions and
    // ships, last first, its mission and its overlays), then the bases, last first, and empties
    // the forces list.
    void ReleaseScenario();
};

}  // namespace scenario
