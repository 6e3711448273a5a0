#pragma once
// The checks of a loaded scenario for what loads without a word but is wrong: waypoints and
// start positions on land, legs across land, ports far from the sea, a current waypoint outside
// the case, case counts that do not match the cases, forces too slow to time, empty cases, cases
// naming bases that are not loaded (or none), positions off the globe and case lines no key
// matches. They read the side lines as they stand, so the editor can run them after every edit.

#include <vector>

#include "scenario/LintFinding.h"

namespace globe {
class TLandIndex;
}
namespace platform {
class FileSystem;
}

namespace scenario {

class TForce;
class TScenarioState;

// Nautical-mile limits of the land checks.
inline constexpr int kCoastalMiles = 5;  // a position this near the coast is a harbour or coast
inline constexpr int kPortMiles = 20;    // a port this far from any coast is misplaced

// Every finding of the scenario: the bases of both sides (their lines are read from the bases
// files), then every force of ForceList; sorted by file and line. Without land the land checks
// are left out; land too large to index leaves them out with a note saying so.
std::vector<TLintFinding> LintScenario(const TScenarioState& state, const globe::TLandIndex* land,
                                       platform::FileSystem& files);

// The findings of one force's block in its side's lines, in line order.
std::vector<TLintFinding> LintForce(const TScenarioState& state, const TForce& force, const globe::TLandIndex* land);

// Findings of the severity "error".
std::size_t CountErrors(const std::vector<TLintFinding>& findings);

}  // namespace scenario
