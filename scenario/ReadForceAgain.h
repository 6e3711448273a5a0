#pragma once
// A force's block read again from its side's lines after they changed (its speed, its mission
// and chosen case), with a line cursor of its own, and the forces list rebuilt.

namespace scenario {

class TForce;
class TScenarioLoader;
class TScenarioState;

// loader must read into state. Nothing is read when no line names the force.
void ReadForceAgain(TScenarioLoader& loader, TScenarioState& state, TForce& force);

}  // namespace scenario
