#pragma once
// A way of working on the map (measuring, picking a point, dragging a mark, inserting on a
// leg, zooming to a box): the mouse and key events it takes and the overlay it draws over the
// map. TMapTools gives each event to the tool that holds the map at the time.
#include "platform/ViewEvents.h"

namespace globe {
class TVoduz4;
}

namespace editor {

// A mouse event on the map, in device pixels.
struct TMapMouse {
  platform::MouseButton Button = platform::MouseButton::Left;
  platform::ShiftState Shift;
  int X = 0;
  int Y = 0;
};

class TMapTool {
 public:
  virtual ~TMapTool() = default;
  // A press the tool may take: true keeps it (and the drag after it) from the view's own
  // handling.
  virtual bool MousePress(globe::TVoduz4&, const TMapMouse&) { return false; }
  virtual void MouseMove(globe::TVoduz4&, const TMapMouse&) {}
  // The release that ends the tool's work: true when the tool used it up, so that it is no
  // click on the map as well.
  virtual bool MouseRelease(globe::TVoduz4&, const TMapMouse&) { return true; }
  // True when the tool used the key.
  virtual bool KeyDown(globe::TVoduz4&, platform::ViewKey) { return false; }
  // Draws the tool's marks over the finished map.
  virtual void Paint(globe::TVoduz4&) {}
  // Ends the tool's work without a change (a load, or Esc).
  virtual void Cancel() {}
};

}  // namespace editor
