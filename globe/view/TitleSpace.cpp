#include "globe/view/TitleSpace.h"

#include <algorithm>

namespace globe {

platform::TRect TextBox(int32_t x, int32_t y, platform::TSize extent, platform::TextAlign align)
{
  int64_t left = x, top = y;
  switch (align.Horizontal) {
    case platform::HorizontalAlign::Center: left -= extent.Width / 2; break;
    case platform::HorizontalAlign::Right: left -= extent.Width; break;
    default: break;
  }
  switch (align.Vertical) {
    // The baseline lies about a fifth of the height above the text's bottom.
    case platform::VerticalAlign::Baseline: top -= extent.Height - extent.Height / 5; break;
    case platform::VerticalAlign::Bottom: top -= extent.Height; break;
    default: break;
  }
  const auto clamp = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  return {clamp(left), clamp(top), clamp(left + extent.Width), clamp(top + extent.Height)};
}

bool TTitleSpace::Take(const platform::TRect& box)
{
  const auto overlaps = [&box](const platform::TRect& other) {
    return box.Left < other.Right && other.Left < box.Right && box.Top < other.Bottom && other.Top < box.Bottom;
  };
  if (std::any_of(Taken_.begin(), Taken_.end(), overlaps)) return false;
  Taken_.push_back(box);
  return true;
}

bool TTitleSpace::TakeText(platform::DrawingSurface& surface, int32_t x, int32_t y, const std::string& text)
{
  return Take(TextBox(x, y, surface.TextExtent(text), surface.State().Align));
}

void TTitleSpace::Queue(int priority, int32_t x, int32_t y, std::string text, const platform::DrawingState& state)
{
  Queued_.push_back({priority, x, y, std::move(text), state});
}

void TTitleSpace::Flush(platform::DrawingSurface& surface)
{
  std::stable_sort(Queued_.begin(), Queued_.end(),
                   [](const TQueuedTitle& a, const TQueuedTitle& b) { return a.Priority < b.Priority; });
  for (const TQueuedTitle& title : Queued_) {
    surface.SetFont(title.State.CurrentFont);
    surface.SetTextColor(title.State.TextColor);
    surface.SetTextAlign(title.State.Align);
    surface.SetBackgroundMode(title.State.Background);
    if (TakeText(surface, title.X, title.Y, title.Text)) surface.TextOut(title.X, title.Y, title.Text);
  }
  Queued_.clear();
}

void TTitleSpace::Clear()
{
  Taken_.clear();
  Queued_.clear();
}

}  // namespace globe
