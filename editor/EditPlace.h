#pragma once
// Where the user stood when a side's lines changed: the force, the case tab and the case list
// line that an undo or redo shows again.

namespace scenario {
class TForce;
}

namespace editor {

struct TEditPlace {
  scenario::TForce* Force = nullptr;  // none: the view stays as it is
  int Case = 1;                       // 1..6
  int Row = -1;                       // the selected case list line, -1 for none
};

}  // namespace editor
