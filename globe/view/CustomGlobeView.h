#pragma once
// The globe view as its projection, projection models and drawing code see it: the window-free
// view core (layers, files, environment) plus what only a drawing view has (projection, canvas,
// sizes, graticule). The map control derives from this class and implements the operations;
// tests use a small fake.

#include <cstdint>

#include "globe/data/GeoTypes.h"
#include "globe/data/CustomVoduz4.h"
#include "platform/DeviceGeometry.h"
#include "platform/DrawingSurface.h"

namespace globe {

class TGlobeCanvas;
class TGlobeProjection;

class TCustomGlobeView : public TCustomVoduz4 {
 public:
  virtual TGlobeProjection& Projection() = 0;

  // Size of the drawing surface (the canvas) and of the window's client area, in pixels.
  virtual int32_t CanvasWidth() const = 0;
  virtual int32_t CanvasHeight() const = 0;
  virtual int32_t ClientWidth() const = 0;
  virtual int32_t ClientHeight() const = 0;

  // True while the view reads its form description (zoom and pan events are not raised).
  virtual bool IsLoading() const = 0;
  // Raise OnPanned / OnZoomed.
  virtual void DoPanned() = 0;
  virtual void DoZoomed() = 0;

  // Refreshes the state derived from the projection (scroll bars, limits).
  virtual void UpdateScrollBars() = 0;
  // Centres the view on a geographic point.
  virtual void LocateToLL(int32_t longX, int32_t latY) = 0;

  // The window's extent in GlobeUnit: (0, 0, width / ScaleFactor, height / ScaleFactor).
  platform::TRect ViewExtentGU;

  // Graticule spacing in degrees (0 turns the lines off).
  virtual int32_t GraticuleLongitudeStep() const = 0;
  virtual int32_t GraticuleLatitudeStep() const = 0;
  // Draws the line between two points in `segments` straight pieces with the current pen.
  virtual void RenderLine(const TGeoPoint& from, const TGeoPoint& to, int32_t segments) = 0;

  // The surface texture (may be empty).
  virtual const TTextureData& Texture() const { return SurfaceTexture(); }

  // The drawing canvas everything is drawn through.
  virtual TGlobeCanvas& Canvas() = 0;
  // Pen and brush that selected objects are drawn in.
  virtual platform::Pen SelectedPen() const { return platform::Pen{platform::clRed}; }
  virtual platform::Brush SelectedBrush() const {
    return platform::Brush{platform::BrushKind::Solid, platform::clYellow};
  }
  // The canvas is about to take a new size (both above 0): zoom and origin follow the view's
  // resize rule while the canvas still has the old size.
  virtual void CanvasResizing(int32_t newWidth, int32_t newHeight) {}
  // A symbol was drawn in that box (labels keep clear of it when the view places them).
  virtual void MarkDrawn(const platform::TRect& box) {}
};

}  // namespace globe
