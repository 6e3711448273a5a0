#include "editor/BoxZoomTool.h"

#include <algorithm>

#include "globe/view/GlobeCanvas.h"
#include "globe/view/Voduz4.h"

namespace editor {

namespace {

bool IsZoomButton(const globe::TVoduz4& view, platform::MouseButton button)
{
  switch (view.MouseZoomButton) {
  case globe::mzbLeft: return button == platform::MouseButton::Left;
  case globe::mzbRight: return button == platform::MouseButton::Right;
  case globe::mzbMiddle: return button == platform::MouseButton::Middle;
  default: return false;
  }
}

void CaptureMouse(globe::TVoduz4& view, bool on)
{
  if (view.Host() != nullptr) view.Host()->SetMouseCapture(on);
}

}  // namespace

bool TBoxZoomTool::MousePress(globe::TVoduz4& view, const TMapMouse& mouse)
{
  if (!IsZoomButton(view, mouse.Button)) return false;
  band_ = platform::TRect{mouse.X, mouse.Y, mouse.X + 1, mouse.Y + 1};
  CaptureMouse(view, true);
  view.InvalidateWindow();
  return true;
}

void TBoxZoomTool::MouseMove(globe::TVoduz4& view, const TMapMouse& mouse)
{
  band_.Right = mouse.X;
  band_.Bottom = mouse.Y;
  view.InvalidateWindow();
}

bool TBoxZoomTool::MouseRelease(globe::TVoduz4& view, const TMapMouse& mouse)
{
  band_.Right = mouse.X;
  band_.Bottom = mouse.Y;
  CaptureMouse(view, false);
  view.ZoomToBand(band_);
  return false;
}

void TBoxZoomTool::End(globe::TVoduz4& view)
{
  CaptureMouse(view, false);
  view.InvalidateWindow();
}

void TBoxZoomTool::Paint(globe::TVoduz4& view)
{
  const platform::TRect shown{std::min(band_.Left, band_.Right), std::min(band_.Top, band_.Bottom),
                              std::max(band_.Left, band_.Right), std::max(band_.Top, band_.Bottom)};
  view.Canvas().Surface().DrawFocusRect(shown);
}

}  // namespace editor
