// Layer rendering and the presenters' drawing: zoom ranges, the two-pixel rule, presenter lookup,
// titles and the room they take, point symbols, interrupted renders, and the levels of detail.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "globe/data/GeoDataObject.h"
#include "globe/data/GeoMath.h"
#include "globe/data/GlobeUnits.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobePen.h"
#include "globe/view/LayerRenderer.h"
#include "globe/view/LevelOfDetail.h"
#include "globe/view/PointPresenter.h"
#include "globe/view/PolyPresenter.h"
#include "globe/view/TitleSpace.h"
#include "platform/testing/RecordingViewHost.h"
#include "tests/support/RecordingMapFixture.h"

namespace globe {
namespace {

using platform::HorizontalAlign;
using platform::TRect;
using platform::VerticalAlign;
using platform::testing::DrawOp;

constexpr int32_t kDeg = 5'400'000;
constexpr TColor kSurface = 0x010203;

class LayerRendererTest : public corvalis::testing::RecordingMapFixture {
 protected:
  void SetUp() override {
    TGlobeOptions options = view.GlobeOptions();
    options.Exclude(goDoubleBuffered);
    view.SetGlobeOptions(options);
    ASSERT_TRUE(view.DeviceXYToLL(300, 200, middle));
    layer = view.LayerStore().NewLayer();
    view.SetSurfaceColor(kSurface);
  }
  // Polygons drawn for objects (the globe disc drawn in the surface colour left out).
  std::vector<platform::testing::DrawCall> ObjectPolygons() {
    std::vector<platform::testing::DrawCall> calls;
    for (const auto& call : window.Calls(DrawOp::Polygon))
      if (call.State.CurrentBrush.Color != kSurface) calls.push_back(call);
    return calls;
  }
  TGeoDataObject* AddPoint(int32_t presenterID) {
    auto* object = layer->ObjectSource()->NewObject<TGeoDataObject>();
    object->Chains().Chain(0).Add(middle);
    object->Changed();
    object->SetPresenterID(presenterID);
    return object;
  }
  TGeoDataObject* AddSquare(int32_t half, int32_t presenterID) {
    TGeoDataObject* object = RecordingMapFixture::AddSquare(*layer, middle, half);
    object->SetPresenterID(presenterID);
    return object;
  }
  // A coast of 6000 points round the middle, some 30 degrees across, wobbling finely.
  template <class T = TGeoDataObject>
  T* AddCoast(int32_t presenterID) {
    auto* object = layer->ObjectSource()->NewObject<T>();
    TPointStore& ring = object->Chains().Chain(0);
    for (int32_t i = 0; i < 6000; ++i) {
      const long double a = 2 * std::numbers::pi_v<long double> * i / 6000;
      const long double r = 15 * kDeg * (1 + 0.02L * std::sin(40 * a) + 0.002L * std::sin(900 * a));
      ring.Add(TGeoPoint(static_cast<int32_t>(middle.LongX + std::llround(r * std::cos(a))),
                         static_cast<int32_t>(middle.LatY + std::llround(r * std::sin(a))), 0));
    }
    object->SetClosed(true);
    object->Changed();
    object->SetPresenterID(presenterID);
    return object;
  }
  std::vector<std::vector<platform::TPoint>> PaintedOutlines() {
    PaintNow();
    std::vector<std::vector<platform::TPoint>> outlines;
    for (const auto& call : ObjectPolygons()) outlines.push_back(call.Points);
    return outlines;
  }
  platform::testing::DrawCall OnlyCall(DrawOp op) {
    PaintNow();
    const auto calls = op == DrawOp::Polygon ? ObjectPolygons() : window.Calls(op);
    EXPECT_EQ(calls.size(), 1u) << int(op);
    return calls.empty() ? platform::testing::DrawCall{} : calls[0];
  }
  template <class P>
  P* AddPresenter(int32_t id) {
    auto presenter = std::make_unique<P>(&view, id);
    P* raw = presenter.get();
    layer->Presenters()->Add(std::move(presenter));
    return raw;
  }
  platform::TPoint MiddleXY() {
    platform::TPoint xy;
    view.Projection().PointLLToDeviceXY(middle, xy);
    return xy;
  }
  TGeoPoint middle;
  TGlobeLayer* layer = nullptr;
};

TEST_F(LayerRendererTest, ZoomLimitsOfLayersAndObjectsCompareWithTheAltitude) {
  EXPECT_TRUE(LayerVisibleAtAltitude(*layer, 1));
  layer->SetZoomUnits(TGlobeUnitTypes::NauticalMile);
  layer->SetZoomMin(10);
  EXPECT_FALSE(LayerVisibleAtAltitude(*layer, 900'000));
  EXPECT_TRUE(LayerVisibleAtAltitude(*layer, 900'001));
  layer->SetZoomMax(20);
  EXPECT_TRUE(LayerVisibleAtAltitude(*layer, 1'800'000));
  EXPECT_FALSE(LayerVisibleAtAltitude(*layer, 1'800'001));
  layer->SetVisible(false);
  EXPECT_FALSE(LayerVisibleAtAltitude(*layer, 1'000'000));
  // An object's minimum is exclusive, its maximum inclusive; equal limits make no range.
  layer->SetVisible(true);
  layer->SetZoomMin(0);
  layer->SetZoomMax(0);
  AddPresenter<TPolyPresenter>(1);
  TGeoDataObject* square = AddSquare(kDeg, 1);
  const int32_t altitude = view.Projection().Altitude();
  for (auto [min, max, drawn] : {std::tuple{altitude, altitude + 1000, 0u}, {altitude - 1, altitude, 1u}, {5, 5, 1u}}) {
    square->SetZoomMin(min);
    square->SetZoomMax(max);
    PaintNow();
    EXPECT_EQ(ObjectPolygons().size(), drawn) << min << " " << max;
  }
}

TEST_F(LayerRendererTest, DefaultPointPresenterDrawsASixPixelCircle) {
  TPointPresenter* presenter = AddPresenter<TPointPresenter>(1);
  presenter->PointPen().SetPenColor(0x0000FF);
  presenter->PointBrush().SetBrushColor(0x00FF00);
  TGeoDataObject* point = AddPoint(1);
  const platform::TPoint xy = MiddleXY();
  auto ellipse = OnlyCall(DrawOp::Ellipse);
  EXPECT_EQ(ellipse.Rect, (TRect{xy.X - 3, xy.Y - 3, xy.X + 3, xy.Y + 3}));
  EXPECT_EQ(std::pair(ellipse.State.CurrentPen.Color, ellipse.State.CurrentBrush.Color), std::pair(0x0000FFu, 0x00FF00u));
  // Selected: the view's selection pen and brush.
  view.LayerStore().SetSelectedObject(point);
  EXPECT_EQ(OnlyCall(DrawOp::Ellipse).State.CurrentBrush, view.SelectedBrush());
}

TEST_F(LayerRendererTest, PointSizeInMapUnitsIsCappedByMaxPointSize) {
  TPointPresenter* presenter = AddPresenter<TPointPresenter>(1);
  presenter->SetPointType(ppSquare);
  presenter->SetPointUnit(TGlobeUnitTypes::Kilometer);
  presenter->SetPointSize(50);
  presenter->SetMaxPointSize(20);
  AddPoint(1);
  // 50 km = 50 / 1.852 nautical miles of 90,000 GlobeUnit: about 2.43 million GlobeUnit.
  view.Projection().SetScaleFactor(4.0L / 2'429'806);
  EXPECT_EQ(OnlyCall(DrawOp::Rectangle).Rect.Width(), 4);  // 4 pixels: r = 2
  view.Projection().SetScaleFactor(100.0L / 2'429'806);
  EXPECT_EQ(OnlyCall(DrawOp::Rectangle).Rect.Width(), 20);  // capped at 20 pixels: r = 10
}

TEST_F(LayerRendererTest, TriangleAndDiamondCorners) {
  TPointPresenter* presenter = AddPresenter<TPointPresenter>(1);
  presenter->SetPointSize(10);
  AddPoint(1);
  const platform::TPoint c = MiddleXY();
  const int x = c.X, y = c.Y;
  for (const auto& [type, points] : std::vector<std::pair<TPointPresenterType, std::vector<platform::TPoint>>>{
           {ppDiamond, {{x, y - 5}, {x + 5, y}, {x, y + 5}, {x - 5, y}}},
           {ppTriangleUp, {{x + 5, y + 5}, {x, y - 5}, {x - 5, y + 5}}},
           {ppTriangleDown, {{x - 5, y - 5}, {x, y + 5}, {x + 5, y - 5}}},
           {ppTriangleLeft, {{x + 5, y + 5}, {x - 5, y}, {x + 5, y - 5}}},
           {ppTriangleRight, {{x - 5, y - 5}, {x + 5, y}, {x - 5, y + 5}}}}) {
    presenter->SetPointType(type);
    EXPECT_EQ(OnlyCall(DrawOp::Polygon).Points, points) << int(type);
  }
  presenter->SetPointType(ppDot);
  EXPECT_EQ(OnlyCall(DrawOp::SetPixel).Points[0], c);
}

TEST_F(LayerRendererTest, ObjectsBelowTwoPixelsAreOneGreyPixel) {
  AddPresenter<TPolyPresenter>(1);
  const int32_t onePixel = static_cast<int32_t>(1 / view.Projection().ScaleFactor());
  AddSquare(onePixel / 2, 1);  // one pixel across
  EXPECT_EQ(OnlyCall(DrawOp::SetPixel).Color, 0x808080u);
  EXPECT_EQ(ObjectPolygons().size(), 0u);
  layer->ObjectSource()->Objects(0)->SetHidden(true);
  AddSquare(onePixel * 10, 1);  // twenty pixels across
  OnlyCall(DrawOp::Polygon);
  EXPECT_EQ(window.Count(DrawOp::SetPixel), 0u);
}

TEST_F(LayerRendererTest, PresenterLookupFallsBackToTheSourceThenTheRenderEvent) {
  TGeoDataObject* square = AddSquare(kDeg, 7);
  // Neither the layer nor the source has presenter 7: the application draws it.
  int rendered = 0;
  view.OnObjectRender = [&](TVoduz4&, TGlobeObject* object, uint16_t state) {
    EXPECT_EQ(object, square);
    EXPECT_NE(state & rsToBeDrawn, 0);
    ++rendered;
  };
  PaintNow();
  EXPECT_EQ(rendered, 1);
  // Without the handler the object draws itself in the canvas pen.
  view.OnObjectRender = nullptr;
  OnlyCall(DrawOp::Polygon);
  // The source's presenter.
  auto presenter = std::make_unique<TPolygonPresenter>(&view, 7);
  presenter->PolyBrush().SetBrushColor(0x123456);
  layer->ObjectSource()->Presenters()->Add(std::move(presenter));
  view.OnObjectRender = [&](TVoduz4&, TGlobeObject*, uint16_t) { ++rendered; };
  EXPECT_EQ(OnlyCall(DrawOp::Polygon).State.CurrentBrush.Color, 0x123456u);
  EXPECT_EQ(rendered, 1);
}

TEST_F(LayerRendererTest, PolylineAndPolygonPresentersOpenAndCloseObjects) {
  AddPresenter<TPolylinePresenter>(1);
  TGeoDataObject* square = AddSquare(kDeg, 1);
  PaintNow();
  EXPECT_FALSE(square->Closed());
  EXPECT_EQ(ObjectPolygons().size(), 0u);
  EXPECT_GE(window.Count(DrawOp::Polyline), 1u);
  AddPresenter<TPolygonPresenter>(2);
  TGeoDataObject* line = AddSquare(kDeg, 2);
  line->SetClosed(false);
  square->SetHidden(true);
  OnlyCall(DrawOp::Polygon);
  EXPECT_TRUE(line->Closed());
}

TEST_F(LayerRendererTest, TitleRightOfTheCentreOnItsBaseline) {
  TPointPresenter* presenter = AddPresenter<TPointPresenter>(1);
  presenter->SetTitleAlignment(taRight);
  presenter->SetTitleOffset(6);
  AddPoint(1)->SetTitle("Malta");
  const auto text = OnlyCall(DrawOp::TextOut);
  EXPECT_EQ(text.Text, "Malta");
  EXPECT_EQ(text.Points[0], (platform::TPoint{MiddleXY().X + 6, MiddleXY().Y}));
  // Titles off for the layer, a title font below MinTextHeight, or a hidden presenter: no text.
  for (const auto& hide : std::vector<std::function<void()>>{[&] { layer->SetShowTitles(false); },
                                                          [&] { layer->SetShowTitles(true), view.SetMinTextHeight(10); },
                                                          [&] { view.SetMinTextHeight(5), presenter->SetHidden(true); }}) {
    hide();
    PaintNow();
    EXPECT_EQ(window.Count(DrawOp::TextOut), 0u);
  }
  EXPECT_EQ(window.Count(DrawOp::Ellipse), 0u);
}

// Every alignment puts a 40 x 10 title box 4 pixels off the point (100, 50) on its own side, or
// centred on it, or with the point on the baseline.
TEST(TitlePlacementTest, EachAlignmentPlacesTheBoxOnItsSide) {
  for (int a = taCenter; a <= taBottomRight; ++a) {
    const TTitlePlacement t = TitlePlacement(TTitleAlignment(a), 4);
    const TRect box = TextBox(100 + t.DX, 50 + t.DY, {40, 10}, t.Align);
    const int column = a < taTopLeft ? (a == taCenter ? 0 : a == taLeft ? -1 : 1) : (a - taTopLeft) % 3 - 1;
    const int row = a < taTopLeft ? 0 : a <= taTopRight ? -1 : 1;
    EXPECT_TRUE(column < 0 ? box.Right == 96 : column > 0 ? box.Left == 104 : box.Left + box.Right == 200) << a;
    EXPECT_TRUE(row < 0 ? box.Bottom == 46 : row > 0 ? box.Top == 54 : box.Top == 42 && box.Bottom == 52) << a;
  }
}

TEST(TitleSpaceTest, OverlappingTitlesAreLeftOutByPriority) {
  TTitleSpace space;
  EXPECT_TRUE(space.Take({0, 0, 50, 10}));
  EXPECT_FALSE(space.Take({49, 9, 60, 20}));       // one pixel in common
  EXPECT_TRUE(space.Take({50, 0, 90, 10}));        // right beside it
  EXPECT_FALSE(space.Take({-10, -10, 100, 100}));  // round everything
  space.Clear();
  // Queued titles are written by priority; those without room are left out.
  platform::testing::RecordingDrawingSurface surface;  // 5 x 10 pixels a character at height 10
  platform::DrawingState state;
  state.CurrentFont.Height = 10;
  state.Align = {HorizontalAlign::Left, VerticalAlign::Top};
  ASSERT_TRUE(space.Take({200, 200, 240, 210}));  // an arrival time written before
  space.Queue(3, 0, 0, "zone", state);            // under "force": left out
  space.Queue(2, 100, 100, "base", state);
  space.Queue(1, 10, 5, "force", state);
  space.Queue(2, 210, 205, "hidden", state);      // under the arrival time
  space.Queue(2, 300, 300, "alone", state);
  space.Flush(surface);
  std::vector<std::string> written;
  for (const auto& call : surface.Calls(DrawOp::TextOut)) written.push_back(call.Text);
  EXPECT_EQ(written, (std::vector<std::string>{"force", "base", "alone"}));
}

// With placement each label takes the first free position around its point (right, left,
// above, below, diagonals; then a line height further out), clear of labels and marks, and of
// lines while a position allows;
// labels at one point share one; the record tells what was drawn and why the rest was not.
TEST(TitleSpaceTest, PlacementTriesThePositionsRoundThePointAndRecordsWhatItLeftOut) {
  TTitleSpace space;
  TLabelOptions options;
  options.Place = true;
  options.Halo = true;
  options.MinPixelHeight = 12;
  space.SetOptions(options);
  platform::testing::RecordingDrawingSurface surface;  // 6 x 12 pixels a character at height 12
  platform::DrawingState state;
  state.CurrentFont.Height = 8;   // below the minimum: written at 12
  state.TextColor = platform::clRed;
  space.AddMark({95, 95, 106, 106});                 // the mark at (100, 100): gap 6 at least
  space.AddLine({90, 200}, {200, 200});              // a line through the right-hand place of "lined"
  space.AddMark({303, 294, 340, 306});               // just right of "boxed"'s point
  space.Queue(1, 0, 0, "aa", state, {100, 100}, 2);  // right: (106, 94)
  space.Queue(1, 0, 0, "bb", state, {100, 100}, 2);  // the same point: shares the first label
  space.Queue(2, 0, 0, "cc", state, {100, 100}, 2);  // left
  space.Queue(2, 0, 0, "lined", state, {110, 200}, 2);   // left crosses the line too: above
  space.Queue(3, 0, 0, "boxed", state, {300, 300}, 2);   // left of the mark beside it
  space.LeaveOut(0, "hidden", kHiddenReason);
  for (int i = 0; i < 8; ++i) space.Queue(4, 0, 0, "x", state, {100, 100}, 2);  // no room close by
  space.Flush(surface);
  const std::vector<TLabelRecord>& record = space.Record();
  ASSERT_EQ(record.size(), 6u);
  const auto box = [&](std::size_t i) { return record[i].Box; };
  EXPECT_EQ(record[0].Text, "hidden");
  EXPECT_EQ(record[0].Reason, kHiddenReason);
  EXPECT_EQ(record[1].Text, "aa +1");
  EXPECT_EQ(record[1].Names, (std::vector<std::string>{"aa", "bb"}));
  // 5 characters of 6 pixels and the halo's pixel round them, 6 pixels right of the point.
  EXPECT_EQ(box(1), (platform::TRect{106, 93, 106 + 32, 93 + 14}));
  EXPECT_EQ(box(2).Right, 94);                            // "cc" left of the point
  EXPECT_EQ(box(3).Bottom, 200 - 2);                      // "lined" above its point, off the line
  EXPECT_EQ(box(4).Right, 300 - 2);                       // "boxed" left of its point
  EXPECT_EQ(record[5].Text, "x +7");
  EXPECT_EQ(record[5].Names.size(), 8u);
  EXPECT_EQ(box(5).Right, 100 - 6 - 14);                  // left, one label height further out
  for (std::size_t i = 1; i < record.size(); ++i) EXPECT_TRUE(record[i].Drawn && !record[i].OverLine) << i;
  // Each label over eight copies in white one pixel round it, at the minimum height.
  const auto calls = surface.Calls(DrawOp::TextOut);
  ASSERT_EQ(calls.size(), 5u * 9u);
  for (std::size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].State.CurrentFont.Height, 12);
    EXPECT_EQ(calls[i].State.TextColor, i % 9 == 8 ? platform::clRed : platform::clWhite) << i;
  }
  EXPECT_EQ(calls[8].Points.at(0), (platform::TPoint{107, 94}));
  // The shared label under the mouse names both forces; nothing beside it.
  ASSERT_NE(space.LabelAt({110, 100}), nullptr);
  EXPECT_EQ(space.LabelAt({110, 100})->Names, (std::vector<std::string>{"aa", "bb"}));
  EXPECT_EQ(space.LabelAt({300, 100}), nullptr);
  // Crowded out at every position: left out with the reason.
  space.Clear();
  space.AddMark({0, 0, 400, 199});  // all but a thin slit through the point
  space.AddMark({0, 201, 400, 400});
  space.Queue(1, 0, 0, "lost", state, {200, 200}, 2);
  space.Flush(surface);
  ASSERT_EQ(space.Record().size(), 1u);
  EXPECT_FALSE(space.Record()[0].Drawn);
  EXPECT_EQ(space.Record()[0].Reason, kNoRoomReason);
}

// A label near the picture's edge goes to a position inside the picture; only when no
// position is inside does it stick out.
TEST(TitleSpaceTest, PlacedLabelsKeepInsideThePicture) {
  TTitleSpace space;
  TLabelOptions options;
  options.Place = true;
  space.SetOptions(options);
  space.SetArea({0, 0, 200, 100});
  platform::testing::RecordingDrawingSurface surface;  // 6 x 12 pixels a character at height 12
  platform::DrawingState state;
  state.CurrentFont.Height = 12;
  space.Queue(1, 0, 0, "edge", state, {190, 50}, 2);    // right would be cut by the edge: left
  space.Queue(1, 0, 0, "corner", state, {100, 10}, 2);  // right fits
  space.Flush(surface);
  const std::vector<TLabelRecord>& record = space.Record();
  ASSERT_EQ(record.size(), 2u);
  EXPECT_EQ(record[0].Box, (platform::TRect{190 - 2 - 24, 44, 188, 56}));
  EXPECT_EQ(record[1].Box.Left, 102);
  // A label that only helps beside its point is not moved further out on a crowded map.
  for (const bool nearOnly : {true, false}) {
    space.Clear();
    space.SetArea({});
    for (const platform::TRect& mark : {platform::TRect{75, 75, 125, 99}, platform::TRect{75, 101, 125, 125},
                                        platform::TRect{75, 99, 99, 101}, platform::TRect{101, 99, 125, 101}})
      space.AddMark(mark);  // all round the point (100, 100) for 25 pixels
    space.Queue(1, 0, 0, "near", state, {100, 100}, 2, nearOnly);
    space.Flush(surface);
    ASSERT_EQ(space.Record().size(), 1u);
    EXPECT_EQ(space.Record()[0].Drawn, !nearOnly);
    if (!nearOnly) {
      EXPECT_EQ(space.Record()[0].Box.Left, 100 + 2 + 2 * 12);  // two label heights out
    }
  }
  // A point whose every position sticks out still gets its label.
  space.Clear();
  space.SetArea({0, 0, 10, 10});
  space.Queue(1, 0, 0, "wide", state, {5, 5}, 2);
  space.Flush(surface);
  ASSERT_EQ(space.Record().size(), 1u);
  EXPECT_TRUE(space.Record()[0].Drawn);
  EXPECT_EQ(space.Record()[0].Box.Left, 7);
}

TEST(TitleSpaceTest, SegmentsCrossBoxesThroughTheirInsideOnly) {
  const platform::TRect box{10, 10, 20, 20};
  EXPECT_TRUE(SegmentCrossesBox({0, 15}, {30, 15}, box));   // straight through
  EXPECT_TRUE(SegmentCrossesBox({12, 12}, {13, 13}, box));  // inside
  EXPECT_TRUE(SegmentCrossesBox({0, 0}, {30, 30}, box));    // diagonal
  EXPECT_FALSE(SegmentCrossesBox({0, 0}, {9, 30}, box));    // beside it
  EXPECT_FALSE(SegmentCrossesBox({0, 25}, {25, 40}, box));  // below a corner
  EXPECT_FALSE(SegmentCrossesBox({0, 15}, {5, 15}, box));   // short of it
}

// A window whose pending events hold one mouse move of a zoom drag.
class MovingMouseHost : public platform::testing::RecordingViewHost {
 public:
  explicit MovingMouseHost(TVoduz4& view) : RecordingViewHost({600, 400}), View(view) {}
  void ProcessPendingEvents() override {
    if (++Calls == 2) View.MouseMove(platform::ShiftState{}, 250, 250);
  }
  TVoduz4& View;
  int Calls = 0;
};

TEST_F(LayerRendererTest, MouseMoveDuringADragAbandonsTheRender) {
  AddPresenter<TPointPresenter>(1)->SetPointType(ppSquare);
  for (int i = 0; i < 600; ++i) AddPoint(1);
  MovingMouseHost host(view);
  view.SetHost(&host);
  TGlobeOptions options = view.GlobeOptions();
  options.Include(goInterruptable);
  view.SetGlobeOptions(options);
  int renders = 0;
  view.OnRender = [&](TVoduz4&) { ++renders; };
  view.MouseDown(platform::MouseButton::Right, platform::ShiftState{}, 200, 200);  // zoom drag
  PaintNow();
  // Checks at objects 0 and 256; the move arrives at the second: 256 objects drawn.
  EXPECT_EQ(host.Calls, 2);
  EXPECT_EQ(window.Calls(DrawOp::Rectangle).size(), 256u);
  EXPECT_EQ(renders, 0);
  EXPECT_TRUE(view.RedrawNeeded());  // a new paint is asked for
  // Layers marked NoInterrupt are drawn to the end.
  layer->SetNoInterrupt(true);
  host.Calls = 0;
  PaintNow();
  EXPECT_EQ(window.Calls(DrawOp::Rectangle).size(), 600u);
  view.SetHost(nullptr);
}

TEST_F(LayerRendererTest, WholeGlobeDrawsALevelCopyMadeOnceAndRemadeAfterAnEdit) {
  AddPresenter<TPolygonPresenter>(1);
  TGeoDataObject* coast = AddCoast(1);
  ASSERT_GE(LevelForScale(view.Projection().ScaleFactor()), 0);
  view.SetLevelsOfDetailEnabled(false);
  const auto full = PaintedOutlines();
  view.SetLevelsOfDetailEnabled(true);
  const auto coarse = PaintedOutlines();
  ASSERT_EQ(full.size(), 1u);
  ASSERT_EQ(coarse.size(), 1u);
  EXPECT_LT(coarse[0].size(), full[0].size());
  EXPECT_GT(coarse[0].size(), 40u);  // the large wobbles remain
  PaintedOutlines();
  EXPECT_EQ(view.LevelsOfDetail().CopiesMade(), 1);
  // Moved: the copy is made again and shows the coast where it now is.
  coast->SetCentroid(TGeoPoint(middle.LongX + 5 * kDeg, middle.LatY, 0));
  const auto moved = PaintedOutlines();
  EXPECT_EQ(view.LevelsOfDetail().CopiesMade(), 2);
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_NE(moved[0], coarse[0]);
}

// An object that counts the times its centre is asked for.
class TCentreCountingObject : public TGeoDataObject {
 public:
  using TGeoDataObject::TGeoDataObject;
  TGeoPoint GetCentroid() override {
    ++Asked;
    return TGeoDataObject::GetCentroid();
  }
  int Asked = 0;
};

TEST_F(LayerRendererTest, ALevelCopyTakesTheFullCentreOnlyWhenItsTitleIsDrawn) {
  AddPresenter<TPolygonPresenter>(1)->SetTitleAlignment(taCenter);
  auto* coast = AddCoast<TCentreCountingObject>(1);
  coast->SetTitle("Coast");
  layer->SetShowTitles(false);
  PaintNow();
  ASSERT_EQ(view.LevelsOfDetail().CopiesMade(), 1);
  EXPECT_EQ(coast->Asked, 0);  // no title drawn: no walk for the centre
  layer->SetShowTitles(true);
  const auto coarse = OnlyCall(DrawOp::TextOut);
  EXPECT_EQ(coast->Asked, 1);
  OnlyCall(DrawOp::TextOut);
  EXPECT_EQ(coast->Asked, 1);  // kept by the copy
  TGlobeObject* copy = view.LevelsOfDetail().LevelObject(*layer->ObjectSource(), 0, LevelForScale(view.Projection().ScaleFactor()));
  ASSERT_NE(copy, nullptr);
  const TGeoPoint full = coast->TGeoDataObject::GetCentroid();
  ASSERT_NE(static_cast<TGeoDataObject*>(copy)->Chains().Centroid(), full);  // the copy's own points would mislead
  EXPECT_EQ(copy->GetCentroid(), full);
  view.SetLevelsOfDetailEnabled(false);
  EXPECT_EQ(OnlyCall(DrawOp::TextOut).Points, coarse.Points);
}

TEST_F(LayerRendererTest, CloseUpAndMercatorDrawTheFullObject) {
  AddPresenter<TPolygonPresenter>(1);
  AddCoast(1);
  TGlobeProjection& p = view.Projection();
  auto closeUpAndMercator = [&] {
    p.SetProjectionClass("TSphericalPrj");
    p.SetAltitude(100'000);  // a pixel well under the finest tolerance
    p.SetCenterLatitude(middle.LatY / static_cast<long double>(kDeg));
    p.SetCenterLongitude(middle.LongX / static_cast<long double>(kDeg) + 15);  // on the coast
    EXPECT_EQ(LevelForScale(p.ScaleFactor()), -1);
    const auto closeUp = PaintedOutlines();
    p.SetAltitude(0);
    p.SetProjectionClass("TMercatorPrj");
    return std::pair(closeUp, PaintedOutlines());
  };
  const auto withLevels = closeUpAndMercator();
  view.SetLevelsOfDetailEnabled(false);
  ASSERT_EQ(withLevels.first.size(), 1u);
  EXPECT_EQ(withLevels, closeUpAndMercator());
  EXPECT_EQ(view.LevelsOfDetail().CopiesMade(), 0);
}

}  // namespace
}  // namespace globe
