#pragma once
// A surface that keeps state but draws nothing: the target of a canvas before the window
// gives it one, and of headless runs.
#include "platform/DrawingSurface.h"

namespace platform {

class NullDrawingSurface : public DrawingSurface {
 public:
  explicit NullDrawingSurface(int width = 0, int height = 0, int pixelsPerInch = 96)
      : width_(width), height_(height), pixelsPerInch_(pixelsPerInch) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int PixelsPerInch() const override { return pixelsPerInch_; }

  void Polyline(std::span<const TPoint>) override {}
  void Polygon(std::span<const TPoint>) override {}
  void Ellipse(const TRect&) override {}
  void Rectangle(const TRect&) override {}
  void FillRect(const TRect&) override {}
  void SetPixel(int, int, TColor) override {}
  void TextOut(int, int, std::string_view) override {}
  TSize TextExtent(std::string_view) override { return {}; }
  void DrawFocusRect(const TRect&) override {}
  void SetClipRect(const TRect&) override {}
  void SetClipPolygon(std::span<const TPoint>, PolyFillMode) override {}
  void ClearClip() override {}
  void DrawBitmap(int, int, const Bitmap24&, const TRect&) override {}
  void StretchDraw(const TRect&, const Bitmap24&) override {}
  std::unique_ptr<DrawingSurface> CreateBitmapSurface(Bitmap24& target) override {
    auto surface = std::make_unique<NullDrawingSurface>(target.Width(), target.Height(), pixelsPerInch_);
    surface->SetFont(State().CurrentFont);
    return surface;
  }

 private:
  int width_;
  int height_;
  int pixelsPerInch_;
};

}  // namespace platform
