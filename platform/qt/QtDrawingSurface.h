#pragma once
// The drawing surface over a QPainter: on a widget during its paint event, on a QImage, or on
// the memory of a Bitmap24 (24-bit, blue-green-red rows).
#include <QBrush>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <memory>

#include "platform/DrawingSurface.h"

namespace platform {

class QtDrawingSurface : public DrawingSurface {
 public:
  // Paints on `device` until destroyed; the device must outlive the surface.
  explicit QtDrawingSurface(QPaintDevice& device);
  // Paints into the pixels of `bitmap`, which must outlive the surface and keep its size.
  explicit QtDrawingSurface(Bitmap24& bitmap);
  ~QtDrawingSurface() override;

  int Width() const override;
  int Height() const override;
  int PixelsPerInch() const override;

  void SetPen(const Pen& pen) override;
  void SetBrush(const Brush& brush) override;
  void SetFont(const Font& font) override;
  void SetTextColor(TColor color) override;
  void SetBackgroundColor(TColor color) override;
  void SetBackgroundMode(BackgroundMode mode) override;

  void Polyline(std::span<const TPoint> points) override;
  void Polygon(std::span<const TPoint> points) override;
  void Ellipse(const TRect& box) override;
  void Rectangle(const TRect& box) override;
  void FillRect(const TRect& box) override;
  void SetPixel(int x, int y, TColor color) override;
  void TextOut(int x, int y, std::string_view text) override;
  TSize TextExtent(std::string_view text) override;
  // Shapes the text once and draws its glyphs nine times.
  void TextOutWithHalo(int x, int y, std::string_view text, TColor halo, int width) override;
  void DrawFocusRect(const TRect& box) override;
  void SetClipRect(const TRect& box) override;
  void SetClipPolygon(std::span<const TPoint> points, PolyFillMode mode) override;
  void ClearClip() override;
  void DrawBitmap(int x, int y, const Bitmap24& source, const TRect& sourceRect) override;
  void StretchDraw(const TRect& dest, const Bitmap24& picture) override;
  std::unique_ptr<DrawingSurface> CreateBitmapSurface(Bitmap24& target) override;

  QPainter& Painter() { return painter_; }

  // Smooth drawing: lines, polygons, ellipses and text antialiased. Off by default, which keeps
  // every drawn pixel as the plain drawing sets it. Bitmap surfaces made from this one inherit it.
  void SetAntialiased(bool on);
  bool Antialiased() const { return antialiased_; }
  // Draws in the device's own pixels on a high-density screen: a surface on a widget whose
  // device pixel ratio is `ratio` measures and draws in device pixels, unscaled.
  void SetDevicePixels(qreal ratio);

 private:
  void Begin();
  bool Ready();  // painter active; pen and brush brought up to date
  QPolygon ToPolygon(std::span<const TPoint> points) const;
  QFont ToQFont() const;
  // The metrics of the font as the painter draws it (resolved against the device it paints
  // on); those of the font on the device when no painter is active.
  QFontMetrics Metrics(const QFont& font);

  std::unique_ptr<QImage> bitmapImage_;  // wraps the Bitmap24 memory
  QPaintDevice* device_;
  QPainter painter_;
  QPen pen_;
  QBrush brush_;
  bool penDirty_ = true;
  bool brushDirty_ = true;
  bool antialiased_ = false;
  qreal pixelRatio_ = 1;
};

}  // namespace platform
