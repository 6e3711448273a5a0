#include "globe/view/TitleSpace.h"

#include <algorithm>
#include <array>
#include <utility>

namespace globe {

namespace {

bool Overlap(const platform::TRect& a, const platform::TRect& b)
{
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

bool Contains(const platform::TRect& box, platform::TPoint p)
{
  return p.X >= box.Left && p.X < box.Right && p.Y >= box.Top && p.Y < box.Bottom;
}

// Where the positions around an anchor lie, as multiples of the label's width and height and of
// the gap: right, left, above, below, then the diagonals (above right first).
struct TPosition {
  int GapX, GapY;  // -1, 0, 1: which side of the anchor
};
constexpr int32_t kRings = 3;
constexpr std::array<TPosition, 8> kPositions = {{{1, 0}, {-1, 0}, {0, -1}, {0, 1}, {1, -1}, {-1, -1}, {1, 1}, {-1, 1}}};

platform::TRect BoxAt(platform::TPoint anchor, TPosition position, int32_t gap, platform::TSize size)
{
  const int64_t left = position.GapX > 0   ? int64_t{anchor.X} + gap
                       : position.GapX < 0 ? int64_t{anchor.X} - gap - size.Width
                                           : int64_t{anchor.X} - size.Width / 2;
  const int64_t top = position.GapY > 0   ? int64_t{anchor.Y} + gap
                      : position.GapY < 0 ? int64_t{anchor.Y} - gap - size.Height
                                          : int64_t{anchor.Y} - size.Height / 2;
  const auto clamp = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2)); };
  return {clamp(left), clamp(top), clamp(left + size.Width), clamp(top + size.Height)};
}

}  // namespace

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

bool SegmentCrossesBox(platform::TPoint a, platform::TPoint b, const platform::TRect& box)
{
  // Clips the segment's parameter range to the box's four sides (Liang-Barsky).
  const double dx = double{1} * b.X - a.X, dy = double{1} * b.Y - a.Y;
  double t0 = 0, t1 = 1;
  const std::array<std::pair<double, double>, 4> sides = {{{-dx, double{1} * a.X - box.Left},
                                                           {dx, double{1} * box.Right - a.X},
                                                           {-dy, double{1} * a.Y - box.Top},
                                                           {dy, double{1} * box.Bottom - a.Y}}};
  for (const auto& [p, q] : sides) {
    if (p == 0) {
      if (q < 0) return false;
      continue;
    }
    const double t = q / p;
    if (p < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  return true;
}

bool TTitleSpace::Take(const platform::TRect& box)
{
  const auto overlaps = [&box](const platform::TRect& other) { return Overlap(box, other); };
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
  Queued_.push_back({priority, x, y, text, state, false, {}, 0, {text}});
}

void TTitleSpace::Queue(int priority, int32_t x, int32_t y, std::string text, const platform::DrawingState& state,
                        platform::TPoint anchor, int32_t gap, bool nearOnly)
{
  Queued_.push_back({priority, x, y, text, state, true, anchor, gap, {text}, -1, nearOnly});
}

void TTitleSpace::LeaveOut(int priority, std::string text, std::string reason)
{
  TLabelRecord record;
  record.Names = {text};
  record.Text = std::move(text);
  record.Priority = priority;
  record.Reason = std::move(reason);
  Record_.push_back(std::move(record));
}

void TTitleSpace::ShareAnchors()
{
  std::vector<TQueuedTitle> shared;
  for (TQueuedTitle& title : Queued_) {
    const auto same = std::find_if(shared.begin(), shared.end(), [&title](const TQueuedTitle& s) {
      return title.Anchored && s.Anchored && s.Priority == title.Priority && s.Anchor == title.Anchor;
    });
    if (same == shared.end()) {
      shared.push_back(std::move(title));
      continue;
    }
    same->Names.push_back(title.Text);
    same->Text = same->Names.front() + " +" + std::to_string(same->Names.size() - 1);
  }
  Queued_ = std::move(shared);
}

bool TTitleSpace::Free(const platform::TRect& box, bool avoidLines) const
{
  const auto overlaps = [&box](const platform::TRect& other) { return Overlap(box, other); };
  if (std::any_of(Taken_.begin(), Taken_.end(), overlaps) || std::any_of(Marks_.begin(), Marks_.end(), overlaps))
    return false;
  return !avoidLines || std::none_of(Lines_.begin(), Lines_.end(), [&box](const TLine& line) {
    return SegmentCrossesBox(line.From, line.To, box);
  });
}

bool TTitleSpace::InsideArea(const platform::TRect& box) const
{
  if (Area_.Right <= Area_.Left || Area_.Bottom <= Area_.Top) return true;
  return box.Left >= Area_.Left && box.Right <= Area_.Right && box.Top >= Area_.Top && box.Bottom <= Area_.Bottom;
}

bool TTitleSpace::FindPlace(const TQueuedTitle& title, platform::TSize extent, platform::TRect& box,
                            bool& overLine) const
{
  // Clear of the anchor's own mark: the gap reaches past every mark the anchor lies in.
  int32_t gap = title.Gap;
  for (const platform::TRect& mark : Marks_)
    if (Contains(mark, title.Anchor))
      gap = std::max({gap, title.Anchor.X - mark.Left, mark.Right - title.Anchor.X, title.Anchor.Y - mark.Top,
                      mark.Bottom - title.Anchor.Y});
  // On a crowded map the positions a line height and two further out are tried next. A label
  // cut by the picture's edge cannot be read: crossing a line (under the halo) is the lesser
  // evil, so positions inside the picture come first.
  for (const bool inside : {true, false})
    for (const bool avoidLines : {true, false})
      for (int32_t ring = 0; ring < (title.NearOnly ? 1 : kRings); ++ring)
        for (const TPosition& position : kPositions) {
          box = BoxAt(title.Anchor, position, gap + ring * extent.Height, extent);
          if ((inside && !InsideArea(box)) || !Free(box, avoidLines)) continue;
          overLine = !avoidLines;
          return true;
        }
  return false;
}

int32_t TTitleSpace::Margin(const TQueuedTitle& title) const
{
  if (title.Padding >= 0) return title.Padding;
  return Options_.Halo ? Options_.HaloWidth : 0;
}

void TTitleSpace::Write(platform::DrawingSurface& surface, const TQueuedTitle& title, platform::TRect box)
{
  int32_t x = title.X, y = title.Y;
  if (title.Anchored && Placing()) {
    surface.SetTextAlign(platform::TextAlign{});
    x = box.Left + Margin(title);
    y = box.Top + Margin(title);
  }
  if (title.Padding >= 0) {
    surface.SetPen(title.State.CurrentPen);
    surface.SetBrush(platform::Brush{platform::BrushKind::Solid, title.State.BackgroundColor});
    surface.Rectangle(box);
    surface.SetBackgroundMode(platform::BackgroundMode::Transparent);
  } else if (Options_.Halo) {
    surface.TextOutWithHalo(x, y, title.Text, Options_.HaloColour, Options_.HaloWidth);
    return;
  }
  surface.TextOut(x, y, title.Text);
}

TLabelRecord TTitleSpace::Place(platform::DrawingSurface& surface, const TQueuedTitle& title)
{
  platform::Font font = title.State.CurrentFont;
  if (font.Height > 0 && font.Height < Options_.MinPixelHeight) font.Height = Options_.MinPixelHeight;
  surface.SetFont(font);
  surface.SetTextColor(title.State.TextColor);
  surface.SetTextAlign(title.State.Align);
  surface.SetBackgroundMode(title.State.Background);
  TLabelRecord record;
  record.Text = title.Text;
  record.Names = title.Names;
  record.Priority = title.Priority;
  record.Anchor = title.Anchor;
  const platform::TSize extent = surface.TextExtent(title.Text);
  const int32_t margin = Margin(title);
  if (Placing() && title.Anchored) {
    record.Drawn = FindPlace(title, {extent.Width + 2 * margin, extent.Height + 2 * margin}, record.Box, record.OverLine);
    if (record.Drawn) Taken_.push_back(record.Box);
  } else {
    platform::TRect box = TextBox(title.X, title.Y, extent, title.State.Align);
    box = {box.Left - margin, box.Top - margin, box.Right + margin, box.Bottom + margin};
    record.Drawn = (!Placing() || Free(box, false)) && Take(box);
    record.Box = box;
  }
  if (record.Drawn) Write(surface, title, record.Box);
  else record.Reason = Placing() && title.Anchored ? kNoRoomReason : kOverlapReason;
  return record;
}

void TTitleSpace::Flush(platform::DrawingSurface& surface)
{
  std::stable_sort(Queued_.begin(), Queued_.end(),
                   [](const TQueuedTitle& a, const TQueuedTitle& b) { return a.Priority < b.Priority; });
  if (Placing()) ShareAnchors();
  for (const TQueuedTitle& title : Queued_) Record_.push_back(Place(surface, title));
  Queued_.clear();
}

TLabelRecord TTitleSpace::WriteOverlay(platform::DrawingSurface& surface, std::string text,
                                       const platform::DrawingState& state, platform::TPoint anchor, int32_t gap,
                                       int32_t padding, const std::vector<platform::TPoint>& path)
{
  // Without placement it is written where it is asked for, whatever the picture wrote there.
  const std::vector<platform::TRect> taken = Taken_;
  if (!Placing()) Taken_.clear();
  const std::size_t lines = Lines_.size();
  for (std::size_t i = 1; i < path.size(); ++i) AddLine(path[i - 1], path[i]);
  TQueuedTitle title{0, anchor.X + gap, anchor.Y + gap, text, state, true, anchor, gap, {text}, padding};
  title.State.Align = platform::TextAlign{};
  const TLabelRecord record = Place(surface, title);
  Taken_ = taken;
  Lines_.resize(lines);
  return record;
}

const TLabelRecord* TTitleSpace::LabelAt(platform::TPoint at) const
{
  const auto under = std::find_if(Record_.begin(), Record_.end(),
                                  [at](const TLabelRecord& label) { return label.Drawn && Contains(label.Box, at); });
  return under == Record_.end() ? nullptr : &*under;
}

void TTitleSpace::Clear()
{
  Taken_.clear();
  Marks_.clear();
  Lines_.clear();
  Queued_.clear();
  Record_.clear();
}

}  // namespace globe
