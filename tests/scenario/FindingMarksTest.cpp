// The warning marks of the selected force's findings on the map.

#include <gtest/gtest.h>

#include <vector>

#include "globe/data/GlobeObjectSource.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/testing/RecordingDrawingSurface.h"
#include "scenario/FindingMarks.h"
#include "scenario/Force.h"

namespace scenario {
namespace {

using platform::testing::DrawOp;

constexpr std::int32_t kDeg = 5'400'000;

TEST(FindingMarksTest, OneTriangleAtEachPointOfTheSelectedForce) {
  globe::TVoduz4 view;
  view.SetClientSize(600, 400);
  view.SetGraticuleDrawMode(globe::gdNone);
  view.Projection().SetProjectionClass("TCartesianPrj");
  view.Projection().SetScaleFactor(0);
  platform::testing::RecordingDrawingSurface window{600, 400};

  // Two forces in a source of their own, away from the map's layers.
  globe::TGlobeObjectSource& source = *view.NewObjectSource<globe::TGlobeObjectSource>();
  const TForce* selected = TForce::CreateIn(source);
  const TForce* other = TForce::CreateIn(source);
  const globe::TGeoPoint desert(25 * kDeg, 27 * kDeg);
  std::vector<TLintFinding> findings(4);
  findings[0].Force = selected;
  findings[0].At = desert;
  findings[1].Force = other;  // another force's finding
  findings[1].At = globe::TGeoPoint(10 * kDeg, 40 * kDeg);
  findings[2].Force = selected;  // no point
  findings[3].At = desert;       // no force

  platform::Pen before;
  before.Color = 0x123456;
  view.OnRender = [&](globe::TVoduz4& v) {
    v.Canvas().SetPen(before);
    DrawFindingMarks(v, findings, selected);
    DrawFindingMarks(v, findings, nullptr);  // no force selected: nothing
    EXPECT_EQ(v.Canvas().CanvasState().CurrentPen.Color, before.Color);
  };
  view.RedrawGlobe();
  view.Paint(window);

  platform::TPoint at;
  ASSERT_TRUE(view.Projection().PointLLToDeviceXY(desert, at));
  const auto polygons = window.Calls(DrawOp::Polygon);
  std::vector<platform::TPoint> expected;
  for (const platform::TPoint& p : WarningTriangle(at)) expected.push_back(p);
  std::size_t marks = 0;
  for (const auto& call : polygons) {
    if (call.State.CurrentBrush.Color != 0x00FFFFu) continue;  // the map's own polygons
    ++marks;
    EXPECT_EQ(call.Points, expected);
    EXPECT_EQ(call.State.CurrentPen.Color, platform::clBlack);
  }
  EXPECT_EQ(marks, 1u);
  // The triangle's point is up and it is centred on the position.
  EXPECT_LT(expected[0].Y, at.Y);
  EXPECT_EQ(expected[1].X - at.X, at.X - expected[2].X);
}

}  // namespace
}  // namespace scenario
