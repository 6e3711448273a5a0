// The levels of detail in the paint: coarse zooms draw a simplified copy made once, an edited
// object gets a new copy, and close up the full object is drawn exactly as without levels.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/LevelOfDetail.h"
#include "globe/view/PolyPresenter.h"
#include "globe/view/Voduz4.h"
#include "platform/testing/RecordingDrawingSurface.h"

namespace globe {
namespace {

using platform::testing::DrawOp;
using platform::testing::RecordingDrawingSurface;

constexpr int32_t kDeg = 5'400'000;
constexpr TColor kSurface = 0x010203;

class LevelOfDetailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.SetClientSize(600, 400);
    view.SetGraticuleDrawMode(gdNone);
    TGlobeOptions options = view.GlobeOptions();
    options.Exclude(goDoubleBuffered);
    view.SetGlobeOptions(options);
    view.SetSurfaceColor(kSurface);
    view.Projection().SetCenterLatitude(10);
    view.Projection().SetCenterLongitude(20);
    TGlobeLayer* layer = view.LayerStore().NewLayer();
    layer->Presenters()->Add(std::make_unique<TPolygonPresenter>(&view, 1));
    // A coast of 6000 points round (10 N, 20 E), some 15 degrees across, wobbling finely.
    land = layer->ObjectSource()->NewObject<TGeoDataObject>();
    TPointStore& ring = land->Chains().Chain(0);
    for (int32_t i = 0; i < 6000; ++i) {
      const long double a = 2 * std::numbers::pi_v<long double> * i / 6000;
      const long double r = 15 * kDeg * (1 + 0.02L * std::sin(40 * a) + 0.002L * std::sin(900 * a));
      ring.Add(TGeoPoint(static_cast<int32_t>(20 * kDeg + std::llround(r * std::cos(a))),
                         static_cast<int32_t>(10 * kDeg + std::llround(r * std::sin(a))), 0));
    }
    land->SetClosed(true);
    land->Changed();
    land->SetPresenterID(1);
  }
  // The outlines drawn for the land (the globe disc left out).
  std::vector<std::vector<platform::TPoint>> LandPolygons() {
    window.ClearLog();
    view.RedrawGlobe();
    view.Paint(window);
    std::vector<std::vector<platform::TPoint>> outlines;
    for (const auto& call : window.Calls(DrawOp::Polygon))
      if (call.State.CurrentBrush.Color != kSurface) outlines.push_back(call.Points);
    return outlines;
  }

  TVoduz4 view;
  RecordingDrawingSurface window{600, 400};
  TGeoDataObject* land = nullptr;
};

TEST_F(LevelOfDetailTest, WholeGlobeDrawsACopyMadeOnceAndRemadeAfterAnEdit) {
  ASSERT_GE(LevelForScale(view.Projection().ScaleFactor()), 0);
  view.SetLevelsOfDetailEnabled(false);
  const auto full = LandPolygons();
  view.SetLevelsOfDetailEnabled(true);
  const auto coarse = LandPolygons();
  ASSERT_EQ(full.size(), 1u);
  ASSERT_EQ(coarse.size(), 1u);
  EXPECT_LT(coarse[0].size(), full[0].size());
  EXPECT_GT(coarse[0].size(), 40u);  // the large wobbles remain
  EXPECT_EQ(view.LevelsOfDetail().CopiesMade(), 1);

  LandPolygons();
  EXPECT_EQ(view.LevelsOfDetail().CopiesMade(), 1);

  // Moved: the copy is made again and shows the land where it now is.
  land->SetCentroid(TGeoPoint(25 * kDeg, 10 * kDeg, 0));
  const auto moved = LandPolygons();
  EXPECT_EQ(view.LevelsOfDetail().CopiesMade(), 2);
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_NE(moved[0], coarse[0]);
}

TEST_F(LevelOfDetailTest, CloseUpDrawsTheFullObject) {
  view.Projection().SetAltitude(100'000);  // a pixel well under the finest tolerance
  view.Projection().SetCenterLatitude(10);
  view.Projection().SetCenterLongitude(35);  // on the coast
  ASSERT_EQ(LevelForScale(view.Projection().ScaleFactor()), -1);
  const auto with = LandPolygons();
  view.SetLevelsOfDetailEnabled(false);
  const auto without = LandPolygons();
  ASSERT_EQ(with.size(), 1u);
  EXPECT_EQ(with, without);
  EXPECT_EQ(view.LevelsOfDetail().CopiesMade(), 0);
}

TEST_F(LevelOfDetailTest, MercatorDrawsInFull) {
  view.Projection().SetProjectionClass("TMercatorPrj");
  const auto with = LandPolygons();
  view.SetLevelsOfDetailEnabled(false);
  EXPECT_EQ(with, LandPolygons());
  EXPECT_EQ(view.LevelsOfDetail().CopiesMade(), 0);
}

}  // namespace
}  // namespace globe
