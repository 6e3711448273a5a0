#pragma once
// Pick point: the case list's selected line waits, under a cross cursor, for the next left
// click on the map, which gives it that position as one undoable step. A click off the globe,
// or a click after the line, its tab or its force changed, ends the pick without a change.
#include <string>

#include "editor/MapTool.h"

namespace scenario {
class TForce;
}

namespace editor {

class TShownCase;

class TPickPointTool : public TMapTool {
 public:
  explicit TPickPointTool(TShownCase& shown) : shown_(shown) {}

  // Line `row` of the shown case waits for its position.
  void Start(int row);
  bool MouseRelease(globe::TVoduz4& view, const TMapMouse& mouse) override;
  void Cancel() override;
  int Row() const { return row_; }

 private:
  TShownCase& shown_;
  // The line as it stood at the start, and its force and case.
  int row_ = 0;
  std::string text_;
  int case_ = 0;
  scenario::TForce* force_ = nullptr;
};

}  // namespace editor
