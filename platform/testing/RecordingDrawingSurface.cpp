#include "platform/testing/RecordingDrawingSurface.h"

#include <algorithm>

namespace platform::testing {

const char* DrawOpName(DrawOp op) {
  switch (op) {
    case DrawOp::SetPen: return "SetPen";
    case DrawOp::SetBrush: return "SetBrush";
    case DrawOp::SetFont: return "SetFont";
    case DrawOp::SetTextColor: return "SetTextColor";
    case DrawOp::SetBackgroundColor: return "SetBackgroundColor";
    case DrawOp::SetBackgroundMode: return "SetBackgroundMode";
    case DrawOp::SetTextAlign: return "SetTextAlign";
    case DrawOp::SetPolyFillMode: return "SetPolyFillMode";
    case DrawOp::Polyline: return "Polyline";
    case DrawOp::Polygon: return "Polygon";
    case DrawOp::Ellipse: return "Ellipse";
    case DrawOp::Rectangle: return "Rectangle";
    case DrawOp::FillRect: return "FillRect";
    case DrawOp::SetPixel: return "SetPixel";
    case DrawOp::TextOut: return "TextOut";
    case DrawOp::TextExtent: return "TextExtent";
    case DrawOp::DrawFocusRect: return "DrawFocusRect";
    case DrawOp::SetClipRect: return "SetClipRect";
    case DrawOp::SetClipPolygon: return "SetClipPolygon";
    case DrawOp::ClearClip: return "ClearClip";
    case DrawOp::DrawBitmap: return "DrawBitmap";
    case DrawOp::StretchDraw: return "StretchDraw";
    case DrawOp::CreateBitmapSurface: return "CreateBitmapSurface";
  }
  return "?";
}

RecordingDrawingSurface::RecordingDrawingSurface(int width, int height, int pixelsPerInch,
                                                 std::string target)
    : RecordingDrawingSurface(width, height, pixelsPerInch, std::move(target),
                              std::make_shared<DrawLog>()) {}

RecordingDrawingSurface::RecordingDrawingSurface(int width, int height, int pixelsPerInch,
                                                 std::string target, std::shared_ptr<DrawLog> log)
    : width_(width), height_(height), pixelsPerInch_(pixelsPerInch), target_(std::move(target)),
      log_(std::move(log)) {}

std::vector<DrawCall> RecordingDrawingSurface::Calls(DrawOp op) const {
  std::vector<DrawCall> result;
  std::copy_if(log_->begin(), log_->end(), std::back_inserter(result),
               [op](const DrawCall& call) { return call.Op == op; });
  return result;
}

std::size_t RecordingDrawingSurface::Count(DrawOp op) const {
  return static_cast<std::size_t>(std::count_if(
      log_->begin(), log_->end(), [op](const DrawCall& call) { return call.Op == op; }));
}

DrawCall& RecordingDrawingSurface::Record(DrawOp op) {
  DrawCall& call = log_->emplace_back();
  call.Op = op;
  call.Target = target_;
  call.State = State();
  return call;
}

void RecordingDrawingSurface::SetPen(const Pen& pen) {
  DrawingSurface::SetPen(pen);
  Record(DrawOp::SetPen);
}
void RecordingDrawingSurface::SetBrush(const Brush& brush) {
  DrawingSurface::SetBrush(brush);
  Record(DrawOp::SetBrush);
}
void RecordingDrawingSurface::SetFont(const Font& font) {
  DrawingSurface::SetFont(font);
  Record(DrawOp::SetFont);
}
void RecordingDrawingSurface::SetTextColor(TColor color) {
  DrawingSurface::SetTextColor(color);
  Record(DrawOp::SetTextColor);
}
void RecordingDrawingSurface::SetBackgroundColor(TColor color) {
  DrawingSurface::SetBackgroundColor(color);
  Record(DrawOp::SetBackgroundColor);
}
void RecordingDrawingSurface::SetBackgroundMode(BackgroundMode mode) {
  DrawingSurface::SetBackgroundMode(mode);
  Record(DrawOp::SetBackgroundMode);
}
void RecordingDrawingSurface::SetTextAlign(TextAlign align) {
  DrawingSurface::SetTextAlign(align);
  Record(DrawOp::SetTextAlign);
}
void RecordingDrawingSurface::SetPolyFillMode(PolyFillMode mode) {
  DrawingSurface::SetPolyFillMode(mode);
  Record(DrawOp::SetPolyFillMode);
}

void RecordingDrawingSurface::Polyline(std::span<const TPoint> points) {
  Record(DrawOp::Polyline).Points.assign(points.begin(), points.end());
}
void RecordingDrawingSurface::Polygon(std::span<const TPoint> points) {
  Record(DrawOp::Polygon).Points.assign(points.begin(), points.end());
}
void RecordingDrawingSurface::Ellipse(const TRect& box) { Record(DrawOp::Ellipse).Rect = box; }
void RecordingDrawingSurface::Rectangle(const TRect& box) { Record(DrawOp::Rectangle).Rect = box; }
void RecordingDrawingSurface::FillRect(const TRect& box) { Record(DrawOp::FillRect).Rect = box; }

void RecordingDrawingSurface::SetPixel(int x, int y, TColor color) {
  DrawCall& call = Record(DrawOp::SetPixel);
  call.Points = {TPoint{x, y}};
  call.Color = color;
}

void RecordingDrawingSurface::TextOut(int x, int y, std::string_view text) {
  DrawCall& call = Record(DrawOp::TextOut);
  call.Points = {TPoint{x, y}};
  call.Text = std::string(text);
}

TSize RecordingDrawingSurface::TextExtent(std::string_view text) {
  Record(DrawOp::TextExtent).Text = std::string(text);
  const int height = std::max(0, State().CurrentFont.Height);
  const int charWidth = std::max(1, height / 2);
  return {static_cast<std::int32_t>(charWidth * static_cast<std::int64_t>(text.size())), height};
}

void RecordingDrawingSurface::DrawFocusRect(const TRect& box) {
  Record(DrawOp::DrawFocusRect).Rect = box;
}
void RecordingDrawingSurface::SetClipRect(const TRect& box) {
  Record(DrawOp::SetClipRect).Rect = box;
}
void RecordingDrawingSurface::SetClipPolygon(std::span<const TPoint> points, PolyFillMode mode) {
  DrawCall& call = Record(DrawOp::SetClipPolygon);
  call.Points.assign(points.begin(), points.end());
  call.FillMode = mode;
}
void RecordingDrawingSurface::ClearClip() { Record(DrawOp::ClearClip); }

void RecordingDrawingSurface::DrawBitmap(int x, int y, const Bitmap24& source,
                                         const TRect& sourceRect) {
  DrawCall& call = Record(DrawOp::DrawBitmap);
  call.Points = {TPoint{x, y}};
  call.Rect = sourceRect;
  call.BitmapSize = {source.Width(), source.Height()};
}

void RecordingDrawingSurface::StretchDraw(const TRect& dest, const Bitmap24& picture) {
  DrawCall& call = Record(DrawOp::StretchDraw);
  call.Rect = dest;
  call.BitmapSize = {picture.Width(), picture.Height()};
}

std::unique_ptr<DrawingSurface> RecordingDrawingSurface::CreateBitmapSurface(Bitmap24& target) {
  Record(DrawOp::CreateBitmapSurface).BitmapSize = {target.Width(), target.Height()};
  const std::string name = "bitmap" + std::to_string(++bitmapSurfaces_);
  std::unique_ptr<RecordingDrawingSurface> surface(new RecordingDrawingSurface(
      target.Width(), target.Height(), pixelsPerInch_, name, log_));
  surface->DrawingSurface::SetFont(State().CurrentFont);
  return surface;
}

}  // namespace platform::testing
