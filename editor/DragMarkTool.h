#pragma once
// Dragging a waypoint or target mark of the shown case: a left press within a few pixels of the
// handle of a "WP=" or "TP=" line takes it (the nearest such handle), the route follows the
// mouse, and the release gives the line the new position as one undoable step ("Move point").
// Esc ends the drag without a change. The handle a press would take is highlighted while the
// mouse rests over it; while dragging, the status bar and a tooltip give the legs into and out
// of the point.
#include <QString>
#include <optional>

#include "editor/MapTool.h"
#include "platform/RegionalSettings.h"
#include "scenario/RouteLegs.h"

class QLabel;

namespace editor {

class TShownCase;

class TDragMarkTool : public TMapTool {
 public:
  TDragMarkTool(TShownCase& shown, QLabel& readoutPanel, const platform::RegionalSettings& regional)
      : shown_(shown), readoutPanel_(readoutPanel), regional_(regional)
  {
  }

  bool MousePress(globe::TVoduz4& view, const TMapMouse& mouse) override;
  void MouseMove(globe::TVoduz4& view, const TMapMouse& mouse) override;
  bool MouseRelease(globe::TVoduz4& view, const TMapMouse& mouse) override;
  bool KeyDown(globe::TVoduz4& view, platform::ViewKey key) override;
  // The highlighted handle, over the finished map.
  void Paint(globe::TVoduz4& view) override;
  // Forgets the highlighted handle (a load).
  void Cancel() override { hovered_.reset(); }

  // The mouse over the map with no button held: highlights the handle a press there would take.
  // True when there is one.
  bool Hover(globe::TVoduz4& view, const TMapMouse& mouse);
  // No handle highlighted (the mouse left the map, a load).
  void Unhover(globe::TVoduz4& view);
  const std::optional<scenario::TRoutePointRef>& Hovered() const { return hovered_; }
  // The legs' readout of the last drag move (empty before one).
  const QString& Readout() const { return readout_; }

 private:
  struct TGrab {
    scenario::TRoutePointRef Mark;
    int Row = 0;
  };
  // The handle of a draggable line nearest to the mouse within the hit tolerance, if any.
  std::optional<TGrab> HandleAt(globe::TVoduz4& view, const TMapMouse& mouse) const;
  // Lets go of the mouse and draws the case from its lines again.
  void Drop(globe::TVoduz4& view);
  // Shows the legs into and out of the dragged point, at the mouse.
  void ShowReadout(globe::TVoduz4& view, const TMapMouse& mouse, const globe::TGeoPoint& point);

  TShownCase& shown_;
  QLabel& readoutPanel_;
  const platform::RegionalSettings& regional_;
  bool moved_ = false;
  scenario::TRoutePointRef mark_;
  int row_ = 0;
  std::optional<scenario::TRoutePointRef> hovered_;
  QString readout_;
};

}  // namespace editor
