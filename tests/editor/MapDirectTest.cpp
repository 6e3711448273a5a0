// The map as a user drives it with the mouse, wheel and keys: dragging a waypoint, Shift +
// click on a leg, hover texts, clicking a force's mark, wheel zoom about the cursor, the map's
// keys, zoom to scenario and the measuring line.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTreeWidget>
#include <QUndoStack>
#include <algorithm>
#include <cstdlib>

#include "globe/data/Geodesy.h"
#include "globe/view/TitleSpace.h"
#include "platform/testing/RecordingDrawingSurface.h"
#include "scenario/Base.h"
#include "scenario/Force.h"
#include "scenario/PositionText.h"
#include "tests/editor/MapWindowFixture.h"

namespace editor {
namespace {

using globe::TGeoPoint;
using maptest::MapInteractionTest;

// Force A1 (AlliedShips.cfg), case 1: CASE1, FORMATIONHEADING=300, LOCATION=Alexandria, CWPI=0,
// WP=3300N 02700E (row 4), WP=3400N 02500E (row 5), WP=3500N 02250E (row 6).
class MapDirectTest : public MapInteractionTest {
 protected:
  void SetUp() override {
    MapInteractionTest::SetUp();
    SelectForce("Force A1");
    if (HasFatalFailure()) return;
    Map().LocateToLL(wp0.LongX, wp0.LatY);
  }
  const platform::TextLines& AlliedLines() { return window->Scenario().SideLines[1]; }
  // The side's lines that differ from `before`, as (index, text) in the new lines.
  std::vector<std::string> ChangedLines(const platform::TextLines& before) {
    std::vector<std::string> changed;
    const platform::TextLines& now = AlliedLines();
    for (std::size_t i = 0; i < now.size(); ++i)
      if (i >= before.size() || now[i] != before[i]) changed.push_back(now[i]);
    return changed;
  }

  const TGeoPoint wp0 = TGeoPoint::FromDegrees(27, 33);
  const TGeoPoint wp1 = TGeoPoint::FromDegrees(25, 34);
  // 33 40.5 N, 26 10.5 E: in the middle of the arc minutes 3340N 02610E.
  const TGeoPoint known = TGeoPoint::FromDegrees(26 + 10.5 / 60, 33 + 40.5 / 60);
};

TEST_F(MapDirectTest, DraggedWaypointFollowsTheMouseAndReleaseWritesExactlyThatLine) {
  const platform::TextLines before = AlliedLines();
  const QPoint from = PixelOf(wp0), to = PixelOf(known);
  Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::NoModifier);
  EXPECT_TRUE(window->DraggingMark());
  EXPECT_FALSE(Map().ZoomBandActive());
  DragTo((from + to) / 2);
  // Live: the parsed route point is where the mouse is, the line not yet changed.
  const TGeoPoint half = PointAt((from + to) / 2);
  EXPECT_EQ(window->Cases.CaseWaypoints[0].Point(0), half);
  EXPECT_EQ(window->CaseListLine(4), "WP=3300N 02700E");
  DragTo(to);
  Send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoModifier);
  EXPECT_FALSE(window->DraggingMark());
  EXPECT_EQ(window->CaseListLine(4), "WP=3340N 02610E");
  EXPECT_EQ(ChangedLines(before), std::vector<std::string>{"WP=3340N 02610E"});
  EXPECT_EQ(AlliedLines().size(), before.size());
  EXPECT_TRUE(window->Scenario().Modified);
  // One step, and undo puts the line back.
  ASSERT_EQ(window->UndoStack().count(), 1);
  window->UndoStack().undo();
  EXPECT_EQ(AlliedLines(), before);
  EXPECT_EQ(window->Cases.CaseWaypoints[0].Point(0), wp0);
}

TEST_F(MapDirectTest, EscapeCancelsTheDragAndAPressAwayFromMarksStillZooms) {
  const platform::TextLines before = AlliedLines();
  const QPoint from = PixelOf(wp0);
  Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::NoModifier);
  DragTo(PixelOf(known));
  Key(Qt::Key_Escape);
  EXPECT_FALSE(window->DraggingMark());
  EXPECT_EQ(window->Cases.CaseWaypoints[0].Point(0), wp0);
  Send(QEvent::MouseButtonRelease, PixelOf(known), Qt::LeftButton, Qt::NoModifier);
  EXPECT_EQ(AlliedLines(), before);
  EXPECT_FALSE(window->Scenario().Modified);

  // Off every mark and leg (the nearest such pixel seven or more pixels from the mark) a press
  // starts the zoom band.
  const auto nothingAt = [this](QPoint at) {
    return scenario::HitTestRoute(scenario::RouteLegs(window->Cases, 1),
                                  [this](const TGeoPoint& p, platform::TPoint& xy) {
                                    return Map().Projection().PointLLToDeviceXY(p, xy);
                                  },
                                  {at.x(), at.y()})
               .Kind == scenario::TRouteHitKind::None;
  };
  QPoint away = from + QPoint(7, 0);
  for (int d = 7; !nothingAt(away) && d < 60; ++d) away = from + QPoint(d % 2 ? d : -d, d);
  ASSERT_TRUE(nothingAt(away));
  Send(QEvent::MouseButtonPress, away, Qt::LeftButton, Qt::NoModifier);
  EXPECT_FALSE(window->DraggingMark());
  EXPECT_TRUE(Map().ZoomBandActive());
  Send(QEvent::MouseButtonRelease, away, Qt::LeftButton, Qt::NoModifier);
}

TEST_F(MapDirectTest, ShiftClickOnALegInsertsAWaypointBetweenItsLines) {
  const std::int32_t half = globe::GreatCircleDistance(wp0, wp1) / 2;
  const TGeoPoint middle = globe::DestinationPoint(wp0, globe::InitialBearing(wp0, wp1), half);
  const QPoint at = PixelOf(middle);
  const platform::TextLines before = AlliedLines();
  Click(at, Qt::LeftButton, Qt::ShiftModifier);
  const std::string inserted = "WP=" + scenario::FormatPosition(PointAt(at), false);
  ASSERT_EQ(window->lbPoints->count(), 8);
  EXPECT_EQ(window->CaseListLine(4), "WP=3300N 02700E");
  EXPECT_EQ(window->CaseListLine(5), inserted);
  EXPECT_EQ(window->CaseListLine(6), "WP=3400N 02500E");
  EXPECT_EQ(window->Cases.CaseWaypoints[0].Count(), 4);
  EXPECT_EQ(std::count(AlliedLines().begin(), AlliedLines().end(), inserted), 1);
  ASSERT_EQ(window->UndoStack().count(), 1);
  window->UndoStack().undo();
  EXPECT_EQ(AlliedLines(), before);
}

TEST_F(MapDirectTest, HoverTextTellsTheLineTheLegAndTheArrival) {
  const QPoint at = PixelOf(wp1);
  const std::string text = window->RouteTooltipAt(at.x(), at.y()).toStdString();
  EXPECT_EQ(text.rfind("WP=3400N 02500E\nLeg: ", 0), 0u) << text;
  EXPECT_NE(text.find(" Nm, course "), std::string::npos) << text;
  EXPECT_NE(text.find(" kn\nArrival: "), std::string::npos) << text;
  EXPECT_TRUE(window->RouteTooltipAt(at.x() + 40, at.y() + 40).isEmpty());
}

TEST_F(MapDirectTest, ClickOnAForceMarkSelectsThatForce) {
  scenario::TForce* other = nullptr;
  for (scenario::TForce* force : window->Scenario().ForceList)
    if (force != window->CurrentForce) other = force;
  ASSERT_NE(other, nullptr);
  const TGeoPoint at = other->GetCentroid();
  Map().LocateToLL(at.LongX, at.LatY);
  Click(PixelOf(at));
  EXPECT_EQ(window->CurrentForce, other);
  EXPECT_EQ(window->SelectedRowForce(), other);
}

TEST_F(MapDirectTest, WheelZoomsAboutTheCursorCtrlFiner) {
  const struct {
    QPoint at;
    int delta;
    Qt::KeyboardModifiers keys;
    double step;
  } table[] = {{{120, 90}, 120, Qt::NoModifier, 0.8},
               {{300, 200}, -120, Qt::NoModifier, 1.2},
               {{200, 300}, 120, Qt::ControlModifier, 0.95},
               {{250, 150}, -120, Qt::ControlModifier, 1.05}};
  for (const auto& row : table) {
    const TGeoPoint under = PointAt(row.at);
    const std::int32_t altitude = Map().Projection().Altitude();
    Wheel(row.at, row.delta, row.keys);
    EXPECT_NEAR(Map().Projection().Altitude(), altitude * row.step, 1.0);
    const QPoint now = PixelOf(under);
    EXPECT_LE(std::abs(now.x() - row.at.x()), 1) << row.delta;
    EXPECT_LE(std::abs(now.y() - row.at.y()), 1) << row.delta;
  }
}

TEST_F(MapDirectTest, MapTakesTheKeyboardArrowsTurnPlusMinusZoom) {
  EXPECT_EQ(window->Globe->focusPolicy(), Qt::StrongFocus);
  const QPoint centre(Map().CanvasWidth() / 2, Map().CanvasHeight() / 2);
  const TGeoPoint east = PointAt(centre + QPoint(Map().CanvasWidth() / 10, 0));
  Key(Qt::Key_Right);
  const QPoint now = PixelOf(east);
  EXPECT_LE(std::abs(now.x() - centre.x()), 4);
  const std::int32_t altitude = Map().Projection().Altitude();
  Key(Qt::Key_Plus);
  EXPECT_LT(Map().Projection().Altitude(), altitude);
  Key(Qt::Key_Minus);
  Key(Qt::Key_Minus);
  EXPECT_GT(Map().Projection().Altitude(), altitude);
}

TEST_F(MapDirectTest, HomeShowsEveryBaseAndFTheSelectedForcesRoutes) {
  Map().LocateToLL(-60 * 5'400'000, 0);  // far away
  Key(Qt::Key_Home);
  for (const scenario::TBase* base : window->Scenario().BaseList) {
    const QPoint xy = PixelOf(base->Location);
    EXPECT_TRUE(xy.x() >= 0 && xy.y() >= 0 && xy.x() < Map().CanvasWidth() && xy.y() < Map().CanvasHeight())
        << base->Title();
  }
  Map().LocateToLL(-60 * 5'400'000, 0);
  Key(Qt::Key_F);
  for (const TGeoPoint& point : {wp0, wp1}) {
    const QPoint xy = PixelOf(point);
    EXPECT_TRUE(xy.x() >= 0 && xy.y() >= 0 && xy.x() < Map().CanvasWidth() && xy.y() < Map().CanvasHeight());
  }
}

TEST_F(MapDirectTest, MeasuringDrawsADottedLineToTheCursorWithTheReadoutBesideIt) {
  const QPoint origin = PixelOf(wp0);
  DoubleClick(origin);
  ASSERT_TRUE(window->Measuring);
  const QPoint cursor = origin + QPoint(150, 60);
  Move(cursor);
  platform::testing::RecordingDrawingSurface surface(Map().CanvasWidth(), Map().CanvasHeight());
  Map().Paint(surface);
  bool dotted = false;
  for (const auto& call : surface.Calls(platform::testing::DrawOp::Polyline))
    if (call.State.CurrentPen.Style == platform::psDot && !call.Points.empty() &&
        std::abs(call.Points.front().X - origin.x()) <= 1 && std::abs(call.Points.back().X - cursor.x()) <= 1)
      dotted = true;
  EXPECT_TRUE(dotted);
  const auto texts = surface.Calls(platform::testing::DrawOp::TextOut);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ("  " + texts.back().Text, Panel(2).toStdString());
  EXPECT_GT(texts.back().Points.front().X, cursor.x());
}

// Base, force and arrival-time titles never print over each other; zoomed in, titles left out
// come back.
TEST_F(MapDirectTest, TitlesNeverOverlapAndComeBackWhenZoomingIn) {
  const auto titlesDrawn = [this](std::vector<platform::TRect>& boxes) {
    platform::testing::RecordingDrawingSurface surface(Map().CanvasWidth(), Map().CanvasHeight());
    Map().RedrawGlobe();
    Map().Paint(surface);
    std::vector<std::pair<std::string, platform::TPoint>> seen;
    boxes.clear();
    for (const auto& call : surface.Calls(platform::testing::DrawOp::TextOut)) {
      const platform::TPoint at = call.Points.front();
      // The white outline of a label is the same text a pixel beside it.
      const bool outline = std::any_of(seen.begin(), seen.end(), [&](const auto& s) {
        return s.first == call.Text && std::abs(s.second.X - at.X) + std::abs(s.second.Y - at.Y) <= 2;
      });
      seen.emplace_back(call.Text, at);
      if (outline) continue;
      const int height = call.State.CurrentFont.Height, width = static_cast<int>(call.Text.size()) * std::max(1, height / 2);
      boxes.push_back(globe::TextBox(at.X, at.Y, {width, height}, call.State.Align));
    }
    return boxes.size();
  };
  const auto overlapping = [](const std::vector<platform::TRect>& boxes) {
    for (std::size_t i = 0; i < boxes.size(); ++i)
      for (std::size_t j = i + 1; j < boxes.size(); ++j) {
        const platform::TRect &a = boxes[i], &b = boxes[j];
        if (a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom) return true;
      }
    return false;
  };
  std::vector<platform::TRect> boxes;
  Key(Qt::Key_Home);
  Map().Projection().SetAltitude(Map().Projection().Altitude() * 3);  // crowded
  const std::size_t far = titlesDrawn(boxes);
  EXPECT_GT(far, 0u);
  EXPECT_FALSE(overlapping(boxes));
  Key(Qt::Key_Home);
  Map().Projection().SetAltitude(Map().Projection().Altitude() / 4);
  Map().LocateToLL(wp0.LongX, wp0.LatY);
  EXPECT_FALSE(overlapping(boxes));
  const std::size_t near = titlesDrawn(boxes);
  EXPECT_FALSE(overlapping(boxes));
  EXPECT_GT(near, 0u);
}

}  // namespace
}  // namespace editor
