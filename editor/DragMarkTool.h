#pragma once
// Dragging a waypoint or target mark of the shown case: a left press on the mark of a "WP=" or
// "TP=" line takes it, the route follows the mouse, and the release gives the line the new
// position as one undoable step ("Move point"). Esc ends the drag without a change.
#include "editor/MapTool.h"
#include "scenario/RouteHitTest.h"

namespace editor {

class TShownCase;

class TDragMarkTool : public TMapTool {
 public:
  explicit TDragMarkTool(TShownCase& shown) : shown_(shown) {}

  bool MousePress(globe::TVoduz4& view, const TMapMouse& mouse) override;
  void MouseMove(globe::TVoduz4& view, const TMapMouse& mouse) override;
  bool MouseRelease(globe::TVoduz4& view, const TMapMouse& mouse) override;
  bool KeyDown(globe::TVoduz4& view, platform::ViewKey key) override;

 private:
  // Lets go of the mouse and draws the case from its lines again.
  void Drop(globe::TVoduz4& view);

  TShownCase& shown_;
  bool moved_ = false;
  scenario::TRoutePointRef mark_;
  int row_ = 0;
};

}  // namespace editor
