#pragma once
// The link between a map window of the toolkit and the toolkit-free view behind it:
// the window forwards its events to a ViewEventSink, the view asks its window for services
// through ViewHost.
#include <cstdint>
#include <functional>

#include "platform/DeviceGeometry.h"
#include "platform/DrawingSurface.h"
#include "platform/ScrollBar.h"

namespace platform {

enum class MouseButton : std::uint8_t { Left, Right, Middle };

// Modifier keys and buttons held during a mouse event; Double marks the second press of a
// double click.
struct ShiftState {
  bool Shift = false;
  bool Alt = false;
  bool Ctrl = false;
  bool Left = false;
  bool Right = false;
  bool Middle = false;
  bool Double = false;
  friend bool operator==(const ShiftState&, const ShiftState&) = default;
};

// Keys a map window passes to its view.
enum class ViewKey : std::uint8_t { Left, Right, Up, Down, Plus, Minus, Home, Escape, F, Other };

class ViewEventSink {
 public:
  virtual ~ViewEventSink() = default;
  // The window needs painting; `window` draws on it and is valid during the call only.
  virtual void Paint(DrawingSurface& window) = 0;
  // The client area changed to width x height pixels.
  virtual void Resize(int width, int height) = 0;
  // A press; the second press of a double click arrives with shift.Double set, followed by
  // DoubleClick.
  virtual void MouseDown(MouseButton button, ShiftState shift, int x, int y) = 0;
  virtual void MouseMove(ShiftState shift, int x, int y) = 0;
  virtual void MouseUp(MouseButton button, ShiftState shift, int x, int y) = 0;
  virtual void DoubleClick(int x, int y) = 0;
  virtual void MouseEnter() = 0;
  virtual void MouseLeave() = 0;
  // The user moved a scroll bar (line, page or thumb) to `position`.
  virtual void Scroll(ScrollBarKind bar, std::int32_t position) = 0;
  // The wheel turned over (x, y) by `delta` eighths of a degree (120 a notch; positive away
  // from the user).
  virtual void MouseWheel(ShiftState, int /*delta*/, int /*x*/, int /*y*/) {}
  // A key pressed while the window has the keyboard focus; true when the view used it.
  virtual bool KeyDown(ViewKey, ShiftState) { return false; }
};

class ViewHost {
 public:
  virtual ~ViewHost() = default;
  // Asks for a paint soon (the window's invalidation).
  virtual void Invalidate() = 0;
  // While captured, the window receives mouse events even outside its area.
  virtual void SetMouseCapture(bool captured) = 0;
  virtual TSize ClientSize() const = 0;
  virtual int ScreenPixelsPerInch() const = 0;
  // Device pixels a window pixel (above 1 on high-density screens): the view is drawn in device
  // pixels, with pixel-sized pens and fonts grown by it.
  virtual double DevicePixelRatio() const { return 1; }
  // Delivers pending input and paint events (used to let a long render be interrupted).
  virtual void ProcessPendingEvents() = 0;
  // Runs `draw`, which draws on the view's own bitmap, and returns when it is done. A window
  // may run it on another thread while it waits; the calls `draw` makes to this host still
  // take effect on the window's thread.
  virtual void RunDrawing(const std::function<void()>& draw) { draw(); }
  // Whether the window is shown inside a parent window (painting needs one).
  virtual bool HasParentWindow() const = 0;
  // Shows, hides and sets a scroll bar beside the client area. Showing or hiding one changes
  // the client size, which comes back as a Resize.
  virtual void SetScrollBar(ScrollBarKind bar, const ScrollBarState& state) = 0;
};

}  // namespace platform
