#include "scenario/ForceCases.h"

#include <stdexcept>

namespace scenario {

void TForceCases::ResetCase(int n) {
  if (n < 1 || n > kCaseCount) throw std::out_of_range("case number out of range");
  CaseCWPI[n - 1] = 0;
  CaseWaypoints[n - 1].SetCount(0);
  CaseTargets[n - 1].SetCount(0);
}

}  // namespace scenario
