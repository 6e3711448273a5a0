#include "scenario/LineOwner.h"

#include "scenario/Force.h"
#include "scenario/ForceCases.h"
#include "scenario/MissionCases.h"

namespace scenario {

TLineOwner FindLineOwner(const platform::TextLines& lines, const std::vector<TForce*>& forces, int side,
                         std::size_t index) {
    TLineOwner owner;
    if (index >= lines.size()) return owner;
    std::size_t ownerNameLine = 0;
    for (TForce* force : forces) {
        if (force == nullptr || force->Side != side) continue;
        const auto nameLine = FindForceNameLine(lines, force->Title());
        if (!nameLine || *nameLine > index) continue;
        if (owner.Force == nullptr || *nameLine > ownerNameLine) {
            owner.Force = force;
            ownerNameLine = *nameLine;
        }
    }
    if (owner.Force == nullptr) return owner;
    for (int n = 1; n <= kCaseCount; ++n) {
        const TCaseBlock block = FindCaseBlock(lines, owner.Force->Title(), n);
        if (block.Lines.empty() || index < block.FirstLine || index > block.LastLine) continue;
        owner.Case = n;
        owner.Row = static_cast<int>(index - block.FirstLine);
        break;
    }
    return owner;
}

}  // namespace scenario
