#pragma once
// Which task force, case and case-list row a line of a side's file belongs to, so that a message
// about that line can be shown where the user edits it.

#include <cstddef>
#include <vector>

#include "platform/TextLines.h"

namespace scenario {

class TForce;

struct TLineOwner {
    TForce* Force = nullptr;  // none when the line stands before every force of the side
    int Case = 0;             // 1..6 when the line is in one of the force's case blocks, else 0
    int Row = -1;             // the line's row in that case's list ("CASE" line = 0), else -1
};

// The force of the given side whose "NAME=" line is the last one at or above line index of the
// side's lines, and the case block (as the case list shows it) that holds the line.
TLineOwner FindLineOwner(const platform::TextLines& lines, const std::vector<TForce*>& forces, int side,
                         std::size_t index);

}  // namespace scenario
