#pragma once
// A globe view for projection tests: a fixed-size surface, counters for the notifications the
// projection sends, and the lines the graticule asks for; a fixture holding one with its
// projection, and one whose view's canvas draws into a recording window.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeUnits.h"
#include "globe/data/TextureData.h"
#include "globe/view/CustomGlobeView.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeProjection.h"
#include "platform/testing/RecordingDrawingSurface.h"

namespace globe::testing {

class FakeGlobeView : public TCustomGlobeView {
 public:
  struct Line {
    TGeoPoint From, To;
    int32_t Segments;
  };
  explicit FakeGlobeView(int32_t width = 600, int32_t height = 400)
      : Width(width), Height(height) {
    Canvas_ = std::make_unique<TGlobeCanvas>(this);
    Canvas_->SetSize(width, height);
    Projection_ = std::make_unique<TGlobeProjection>(this);
  }
  TGlobeProjection& Projection() override { return *Projection_; }
  TGlobeProjection& P() { return *Projection_; }
  TGlobeOptions GlobeOptions() const override { return Options; }
  int32_t CanvasWidth() const override { return Width; }
  int32_t CanvasHeight() const override { return Height; }
  int32_t ClientWidth() const override { return Width; }
  int32_t ClientHeight() const override { return Height; }
  bool IsLoading() const override { return Loading; }
  void DoPanned() override { ++Panned; }
  void DoZoomed() override { ++Zoomed; }
  void RedrawGlobe() override { ++Redraws; }
  void UpdateScrollBars() override { ++ScrollUpdates; }
  void LocateToLL(int32_t longX, int32_t latY) override {
    Projection_->SetCenterLongitude(NormaliseLongitude(longX) / 5'400'000.0L);
    Projection_->SetCenterLatitude(latY / 5'400'000.0L);
  }
  int32_t GraticuleLongitudeStep() const override { return LongitudeStep; }
  int32_t GraticuleLatitudeStep() const override { return LatitudeStep; }
  void RenderLine(const TGeoPoint& from, const TGeoPoint& to, int32_t segments) override {
    Lines.push_back(Line{from, to, segments});
  }
  const TTextureData& Texture() const override { return TextureData; }
  TGlobeCanvas& Canvas() override { return *Canvas_; }
  platform::Pen SelectedPen() const override { return SelectionPen; }
  platform::Brush SelectedBrush() const override { return SelectionBrush; }
  int32_t MinTextHeight() const override { return MinText; }
  int32_t MaxTextHeight() const override { return MaxText; }
  int32_t Width, Height;
  TGlobeOptions Options{goCache3DPoints, goDoubleBuffered};
  bool Loading = false;
  int Panned = 0, Zoomed = 0, Redraws = 0, ScrollUpdates = 0;
  int32_t LongitudeStep = 15, LatitudeStep = 15;
  std::vector<Line> Lines;
  TTextureData TextureData;
  platform::Pen SelectionPen{platform::clRed};
  platform::Brush SelectionBrush{platform::BrushKind::Solid, platform::clYellow};
  int32_t MinText = 5, MaxText = 0;

 private:
  std::unique_ptr<TGlobeCanvas> Canvas_;
  std::unique_ptr<TGlobeProjection> Projection_;
};

// Degrees in GlobeUnit, rounded.
inline int32_t GU(long double degrees) { return static_cast<int32_t>(std::llround(degrees * 5'400'000.0L)); }

// A 600 × 400 view and its projection.
struct ProjectionFixture : ::testing::Test {
  FakeGlobeView view;
  TGlobeProjection& p = view.P();
};

// A view of `width` x `height` whose canvas draws into a recording window of that size.
struct RecordingCanvasFixture : ::testing::Test {
  explicit RecordingCanvasFixture(int32_t width = 600, int32_t height = 400) : view(width, height), window(width, height) {
    canvas.SetWindowSurface(&window);
  }
  ~RecordingCanvasFixture() override { canvas.SetWindowSurface(nullptr); }
  FakeGlobeView view;
  platform::testing::RecordingDrawingSurface window;
  TGlobeCanvas& canvas = view.Canvas();
};

}  // namespace globe::testing
