#include "editor/MapTools.h"

#include <cstdlib>
#include <utility>

#include "globe/view/Voduz4.h"

namespace editor {

namespace {

// A press and release further apart than this (logical pixels) is a drag, not a click.
constexpr int kClickSlop = 2;

bool NoModifierKey(const platform::ShiftState& shift) { return !shift.Shift && !shift.Alt && !shift.Ctrl; }

}  // namespace

TMapTools::TMapTools(TShownCase& shown, QLabel& originPanel, QLabel& readoutPanel, QPlainTextEdit& log,
                     const platform::RegionalSettings& regional)
    : measure_(originPanel, readoutPanel, log, regional), pick_(shown), drag_(shown, readoutPanel, regional), insert_(shown)
{
}

void TMapTools::Hook(globe::TVoduz4& map)
{
  using platform::MouseButton;
  using platform::ShiftState;
  map.OnPaint = [this](globe::TVoduz4& view) { Paint(view); };
  map.OnMouseDown = [this](globe::TVoduz4& view, MouseButton button, ShiftState shift, int x, int y) {
    Press(view, {button, shift, x, y});
  };
  map.OnClaimMouseDown = [this](globe::TVoduz4& view, MouseButton button, ShiftState shift, int x, int y) {
    return Claim(view, {button, shift, x, y});
  };
  map.OnDblClick = [this](globe::TVoduz4&) { DoubleClick(); };
  map.OnMouseMove = [this](globe::TVoduz4& view, ShiftState shift, int x, int y) {
    Move(view, {MouseButton::Left, shift, x, y});
    if (OnHover && !Dragging() && !shift.Left && !shift.Right && !shift.Middle) OnHover(x, y);
  };
  map.OnMouseUp = [this](globe::TVoduz4& view, MouseButton button, ShiftState shift, int x, int y) {
    Release(view, {button, shift, x, y});
  };
  map.OnKeyDown = [this](globe::TVoduz4& view, platform::ViewKey key, ShiftState shift) {
    return KeyDown(view, key, shift);
  };
}

void TMapTools::StartPickPoint(int row)
{
  pick_.Start(row);
  active_ = &pick_;
}

void TMapTools::Reset()
{
  if (Picking()) pick_.Cancel();
  measure_.Cancel();
  drag_.Cancel();
  active_ = nullptr;
  gesture_ = nullptr;
  SetHandleHover(false);
}

void TMapTools::Press(globe::TVoduz4& view, const TMapMouse& mouse)
{
  pressButton_ = mouse.Button;
  pressAt_ = {mouse.X, mouse.Y};
  pressMoved_ = false;
  pressEndedBand_ = gesture_ == &box_;
  if (pressEndedBand_) {  // a second press ends the band
    box_.End(view);
    gesture_ = nullptr;
  }
}

bool TMapTools::Claim(globe::TVoduz4& view, const TMapMouse& mouse)
{
  if (pressEndedBand_) return true;
  if (active_ == nullptr && drag_.MousePress(view, mouse)) {
    gesture_ = &drag_;
    SetHandleHover(true);
  } else if (box_.MousePress(view, mouse)) {
    gesture_ = &box_;
  }
  return gesture_ != nullptr;
}

void TMapTools::DoubleClick()
{
  // Only a double-click of the left button starts measuring or logs a position.
  if (pressButton_ == platform::MouseButton::Left) active_ = &measure_;
}

void TMapTools::Move(globe::TVoduz4& view, const TMapMouse& mouse)
{
  const int slop = view.DevicePixels(kClickSlop);
  if (std::abs(mouse.X - pressAt_.X) > slop || std::abs(mouse.Y - pressAt_.Y) > slop) pressMoved_ = true;
  if (gesture_ != nullptr) gesture_->MouseMove(view, mouse);
  HoverHandle(view, mouse);
  // A drag's readout stands in the status bar in place of the position.
  if (!Dragging()) measure_.MouseMove(view, mouse);
}

void TMapTools::HoverHandle(globe::TVoduz4& view, const TMapMouse& mouse)
{
  if (gesture_ != nullptr) return;  // a dragged handle stays highlighted
  const bool buttonHeld = mouse.Shift.Left || mouse.Shift.Right || mouse.Shift.Middle;
  if (active_ == nullptr && !buttonHeld) {
    SetHandleHover(drag_.Hover(view, mouse));
    return;
  }
  drag_.Unhover(view);
  SetHandleHover(false);
}

void TMapTools::SetHandleHover(bool over)
{
  if (over == overHandle_) return;
  overHandle_ = over;
  if (OnHandleHover) OnHandleHover(over);
}

void TMapTools::Leave(globe::TVoduz4& view)
{
  if (gesture_ == &drag_) return;  // the captured mouse comes back
  drag_.Unhover(view);
  SetHandleHover(false);
}

void TMapTools::Release(globe::TVoduz4& view, const TMapMouse& mouse)
{
  const bool left = mouse.Button == platform::MouseButton::Left;
  if (gesture_ != nullptr && std::exchange(gesture_, nullptr)->MouseRelease(view, mouse)) {
    active_ = nullptr;
    if (left) measure_.EndMeasuring(view);
    return;
  }
  const bool click = left && !pressMoved_ && active_ == nullptr;
  if (click && mouse.Shift.Shift && !mouse.Shift.Ctrl && !mouse.Shift.Alt) {
    insert_.MouseRelease(view, mouse);
  } else if (click && NoModifierKey(mouse.Shift) && OnClick) {
    OnClick(mouse.X, mouse.Y);
  }
  // Every left release ends measuring; the double-click's release then starts it again.
  if (!left) return;
  measure_.EndMeasuring(view);
  if (active_ != nullptr) std::exchange(active_, nullptr)->MouseRelease(view, mouse);
}

bool TMapTools::KeyDown(globe::TVoduz4& view, platform::ViewKey key, platform::ShiftState shift)
{
  if (gesture_ == &drag_ && drag_.KeyDown(view, key)) {
    gesture_ = nullptr;
    SetHandleHover(false);
    return true;
  }
  return OnKeyDown && OnKeyDown(key, shift);
}

void TMapTools::Paint(globe::TVoduz4& view)
{
  if (gesture_ == &box_) box_.Paint(view);
  drag_.Paint(view);
  measure_.Paint(view);
}

}  // namespace editor
