#pragma once
// A drawing surface for tests: records every call with its arguments and the drawing state it
// was made in. Surfaces opened on bitmaps share the log of the surface that created them and
// are told apart by their Target name.
#include <memory>
#include <string>
#include <vector>

#include "platform/DrawingSurface.h"

namespace platform::testing {

enum class DrawOp {
  SetPen,
  SetBrush,
  SetFont,
  SetTextColor,
  SetBackgroundColor,
  SetBackgroundMode,
  SetTextAlign,
  SetPolyFillMode,
  Polyline,
  Polygon,
  Ellipse,
  Rectangle,
  FillRect,
  SetPixel,
  TextOut,
  TextExtent,
  DrawFocusRect,
  SetClipRect,
  SetClipPolygon,
  ClearClip,
  DrawBitmap,
  StretchDraw,
  CreateBitmapSurface,
};

const char* DrawOpName(DrawOp op);

struct DrawCall {
  DrawOp Op{};
  std::string Target;           // name of the surface that received the call
  DrawingState State;           // state after the call (for setters: with the new value)
  std::vector<TPoint> Points;   // Polyline, Polygon, SetClipPolygon; SetPixel/TextOut/DrawBitmap: {x, y}
  TRect Rect{};                 // Ellipse, Rectangle, FillRect, DrawFocusRect, SetClipRect,
                                // StretchDraw (dest), DrawBitmap (source rectangle)
  std::string Text;             // TextOut, TextExtent
  TColor Color = 0;             // SetPixel
  PolyFillMode FillMode{};      // SetClipPolygon
  TSize BitmapSize{};           // DrawBitmap, StretchDraw, CreateBitmapSurface
};

using DrawLog = std::vector<DrawCall>;

class RecordingDrawingSurface : public DrawingSurface {
 public:
  // Text extents are CharWidth per character (Height / 2, at least 1) by Height of the font.
  explicit RecordingDrawingSurface(int width = 640, int height = 480, int pixelsPerInch = 96,
                                   std::string target = "window");

  const DrawLog& Log() const { return *log_; }
  void ClearLog() { log_->clear(); }
  // The calls of one kind, in order.
  std::vector<DrawCall> Calls(DrawOp op) const;
  std::size_t Count(DrawOp op) const;
  const std::string& Target() const { return target_; }

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int PixelsPerInch() const override { return pixelsPerInch_; }

  void SetPen(const Pen& pen) override;
  void SetBrush(const Brush& brush) override;
  void SetFont(const Font& font) override;
  void SetTextColor(TColor color) override;
  void SetBackgroundColor(TColor color) override;
  void SetBackgroundMode(BackgroundMode mode) override;
  void SetTextAlign(TextAlign align) override;
  void SetPolyFillMode(PolyFillMode mode) override;

  void Polyline(std::span<const TPoint> points) override;
  void Polygon(std::span<const TPoint> points) override;
  void Ellipse(const TRect& box) override;
  void Rectangle(const TRect& box) override;
  void FillRect(const TRect& box) override;
  void SetPixel(int x, int y, TColor color) override;
  void TextOut(int x, int y, std::string_view text) override;
  TSize TextExtent(std::string_view text) override;
  void DrawFocusRect(const TRect& box) override;
  void SetClipRect(const TRect& box) override;
  void SetClipPolygon(std::span<const TPoint> points, PolyFillMode mode) override;
  void ClearClip() override;
  void DrawBitmap(int x, int y, const Bitmap24& source, const TRect& sourceRect) override;
  void StretchDraw(const TRect& dest, const Bitmap24& picture) override;
  std::unique_ptr<DrawingSurface> CreateBitmapSurface(Bitmap24& target) override;

 private:
  RecordingDrawingSurface(int width, int height, int pixelsPerInch, std::string target,
                          std::shared_ptr<DrawLog> log);
  DrawCall& Record(DrawOp op);

  int width_;
  int height_;
  int pixelsPerInch_;
  std::string target_;
  std::shared_ptr<DrawLog> log_;
  int bitmapSurfaces_ = 0;
};

}  // namespace platform::testing
