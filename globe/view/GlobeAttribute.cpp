#include "globe/view/GlobeAttribute.h"

namespace globe {

bool IsValidUnit(int ordinal) { return ordinal >= 0 && ordinal < GlobeUnitTypeCount; }

}  // namespace globe
