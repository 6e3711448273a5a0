#pragma once
// Shift + click on a leg of the shown case's route inserts a waypoint there: before the leg's
// end when that is a waypoint, after the last waypoint on the leg to the first target; legs
// between targets take none. One undoable step ("Insert waypoint").
#include "editor/MapTool.h"

namespace editor {

class TShownCase;

class TInsertOnLegTool : public TMapTool {
 public:
  explicit TInsertOnLegTool(TShownCase& shown) : shown_(shown) {}

  bool MouseRelease(globe::TVoduz4& view, const TMapMouse& mouse) override;

 private:
  TShownCase& shown_;
};

}  // namespace editor
