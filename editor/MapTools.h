#pragma once
// The map's tools and the one at work. A left double-click arms measuring and Pick point waits
// for a click (the active tool); a press may be taken by a mark drag or a box zoom, which hold
// the mouse until its release (the gesture). A left click with no tool at work ends measuring,
// inserts a waypoint on a leg with Shift, or acts on the map object under it.
#include <functional>

#include "editor/BoxZoomTool.h"
#include "editor/DragMarkTool.h"
#include "editor/InsertOnLegTool.h"
#include "editor/MeasureTool.h"
#include "editor/PickPointTool.h"

namespace editor {

class TMapTools {
 public:
  TMapTools(TShownCase& shown, QLabel& originPanel, QLabel& readoutPanel, QPlainTextEdit& log,
            const platform::RegionalSettings& regional);

  // Hooks the map's mouse, key and paint events to the tools (each map a load makes).
  void Hook(globe::TVoduz4& map);
  // The case list popup's Pick point for line `row`.
  void StartPickPoint(int row);
  // Forgets every tool's work (a load).
  void Reset();

  bool Picking() const { return active_ == &pick_; }
  bool Dragging() const { return gesture_ == &drag_; }
  const TMeasureTool& Measure() const { return measure_; }
  const TBoxZoomTool* Band() const { return gesture_ == &box_ ? &box_ : nullptr; }
  const TDragMarkTool& Drag() const { return drag_; }

  // A plain left click with no tool at work, at device pixels.
  std::function<void(int x, int y)> OnClick;
  // The mouse resting over the map with no button held and no drag, at device pixels.
  std::function<void(int x, int y)> OnHover;
  // The mouse came over a handle that a press would take (true) or left it (false).
  std::function<void(bool over)> OnHandleHover;
  // Keys the tools leave (the map's navigation).
  std::function<bool(platform::ViewKey, platform::ShiftState)> OnKeyDown;

  // The map's events.
  void Press(globe::TVoduz4& view, const TMapMouse& mouse);
  bool Claim(globe::TVoduz4& view, const TMapMouse& mouse);
  void DoubleClick();
  void Move(globe::TVoduz4& view, const TMapMouse& mouse);
  void Release(globe::TVoduz4& view, const TMapMouse& mouse);
  bool KeyDown(globe::TVoduz4& view, platform::ViewKey key, platform::ShiftState shift);
  void Paint(globe::TVoduz4& view);
  // The mouse left the map.
  void Leave(globe::TVoduz4& view);

 private:
  // Highlights the handle under a mouse that holds no button, when a press would take it.
  void HoverHandle(globe::TVoduz4& view, const TMapMouse& mouse);
  void SetHandleHover(bool over);

  TMeasureTool measure_;
  TPickPointTool pick_;
  TDragMarkTool drag_;
  TInsertOnLegTool insert_;
  TBoxZoomTool box_;
  // The tool waiting for a left click: Pick point, or measuring after a double-click.
  TMapTool* active_ = nullptr;
  // The tool holding the mouse from its press to its release.
  TMapTool* gesture_ = nullptr;
  // The last press: its button, where it was and whether the mouse moved away since (a click
  // does not move); a press that ended a band is not the start of anything.
  platform::MouseButton pressButton_ = platform::MouseButton::Left;
  platform::TPoint pressAt_{};
  bool pressMoved_ = false;
  bool pressEndedBand_ = false;
  bool overHandle_ = false;
};

}  // namespace editor
