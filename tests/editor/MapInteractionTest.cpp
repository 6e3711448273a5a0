// The map of the main window as a user drives it with the mouse, wheel and keys, and the
// scenario checks while editing.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>

#include "editor/ApplicationCursor.h"
#include "editor/MapTools.h"
#include "editor/ShownCase.h"
#include "scenario/EditorGlobeSettings.h"
#include "globe/view/Voduz4.h"
#include "editor/ProblemsPanel.h"
#include "globe/data/Geodesy.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/TitleSpace.h"
#include "platform/qt/QtViewWidget.h"
#include "platform/testing/RecordingDrawingSurface.h"
#include "platform/testing/RecordingViewHost.h"
#include "scenario/Base.h"
#include "scenario/CaseLines.h"
#include "scenario/CaseParser.h"
#include "scenario/FindingMarks.h"
#include "scenario/PositionText.h"
#include "scenario/RouteDrawing.h"
#include "scenario/ScenarioExtent.h"
#include "tests/editor/CreteWindowFixture.h"

namespace editor {
namespace {

using fixtures::NorthEast;
using globe::TGeoPoint;

// The Crete window of the editing tests, loaded and shown, with mouse input sent to its map.
class MapInteractionTest : public fixtures::ShownCreteWindowTest {
 protected:
  globe::TVoduz4& Map() { return window->GlobeMap(); }
  QString Panel(int i) const { return window->findChild<QLabel*>(QString("StatusPanel%1").arg(i))->text(); }
  void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers keys,
            Qt::MouseButtons held = Qt::NoButton) {
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) held = button;
    QMouseEvent event(type, QPointF(at), Child<platform::QtViewWidget>("Globe")->mapToGlobal(QPointF(at)), button, held, keys);
    QCoreApplication::sendEvent(Child<platform::QtViewWidget>("Globe"), &event);
  }
  void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    Send(QEvent::MouseButtonPress, at, button, keys);
    Send(QEvent::MouseButtonRelease, at, button, keys);
  }
  // The toolkit's order: press, release, double-click press, release.
  void DoubleClick(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    Click(at, button, keys);
    Send(QEvent::MouseButtonDblClick, at, button, keys);
    Send(QEvent::MouseButtonRelease, at, button, keys);
  }
  void Move(QPoint at) { Send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoModifier); }
  void DragTo(QPoint at) { Send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoModifier, Qt::LeftButton); }
  void Wheel(QPoint at, int delta, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QWheelEvent event(QPointF(at), Child<platform::QtViewWidget>("Globe")->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      keys, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Child<platform::QtViewWidget>("Globe"), &event);
  }
  void Key(int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(Child<platform::QtViewWidget>("Globe"), &event);
  }
  QPoint PixelOf(const TGeoPoint& point) {
    platform::TPoint xy;
    EXPECT_TRUE(Map().Projection().PointLLToDeviceXY(point, xy));
    return {xy.X, xy.Y};
  }
  TGeoPoint PointAt(QPoint at) {
    TGeoPoint point;
    EXPECT_TRUE(Map().DeviceXYToLL(at.x(), at.y(), point));
    return point;
  }
  std::string Fixed(const char* whole) const {
    return std::string(whole) + window->Regional().decimalSeparator + "0";
  }
};

// With the globe turned to 0 N 0 E, the row through that point is the equator and its column
// the prime meridian: a cursor right of the origin lies due east, above it due north.
TEST_F(MapInteractionTest, DoubleClickMeasuresDistanceAndTrueBearingFromTheOrigin) {
  Map().LocateToLL(0, 0);
  const QPoint origin = PixelOf(TGeoPoint(0, 0));
  DoubleClick(origin);
  ASSERT_TRUE(window->MapTools().Measure().Measuring());
  const TGeoPoint originPoint = PointAt(origin);
  EXPECT_EQ(Panel(1).toStdString(), "Origin: " + scenario::FormatPosition(originPoint, true));
  Move(origin);
  EXPECT_EQ(Panel(2).toStdString(), "  Dist: " + Fixed("0") + " Nm  Bearing: " + Fixed("0") + " deg");
  for (const auto& [offset, bearing] : {std::pair{QPoint(120, 0), "90"}, {QPoint(-120, 0), "270"}, {QPoint(0, -120), "0"}}) {
    Move(origin + offset);
    EXPECT_TRUE(Panel(2).endsWith(QString::fromStdString(" Bearing: " + Fixed(bearing) + " deg"))) << Panel(2).toStdString();
  }
  // The distance is the ellipsoid's: on the equator a degree of longitude is about 60.1 Nm.
  const TGeoPoint east = PointAt(origin + QPoint(120, 0));
  Move(origin + QPoint(120, 0));
  const double miles = Panel(2).section(' ', 3, 3).replace(QString::fromStdString(window->Regional().decimalSeparator), ".").toDouble();
  EXPECT_NEAR(miles, 60.11 * (east.LongX - originPoint.LongX) / 5'400'000.0, 0.3);
  // A dotted line runs from the origin to the cursor, with the readout beside it; a red cross
  // marks the origin.
  const QPoint cursor = origin + QPoint(150, 60);
  Move(cursor);
  platform::testing::RecordingDrawingSurface surface(Map().CanvasWidth(), Map().CanvasHeight());
  Map().Paint(surface);
  bool dotted = false, cross = false;
  const QPoint centre = PixelOf(window->MapTools().Measure().Origin());
  const std::vector<platform::TPoint> bar{{centre.x() - 12, centre.y()}, {centre.x() + 12, centre.y()}};
  for (const auto& call : surface.Calls(platform::testing::DrawOp::Polyline)) {
    dotted |= call.State.CurrentPen.Style == platform::psDot && !call.Points.empty() &&
              std::abs(call.Points.front().X - origin.x()) <= 1 && std::abs(call.Points.back().X - cursor.x()) <= 1;
    cross |= call.State.CurrentPen.Color == platform::clRed && call.Points == bar;
  }
  EXPECT_TRUE(dotted && cross);
  const auto texts = surface.Calls(platform::testing::DrawOp::TextOut);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ("  " + texts.back().Text, Panel(2).toStdString());
  // Beside the cursor, inside the picture (left of it when the right would be cut by the edge).
  const platform::TPoint readout = texts.back().Points.front();
  EXPECT_TRUE(readout.X > cursor.x() || readout.X < cursor.x() - 20) << readout.X;
  EXPECT_TRUE(readout.X >= 0 && readout.X < Map().CanvasWidth()) << readout.X;
  // A plain click ends measuring; the origin goes and the readout is the position again.
  Click(origin + QPoint(30, 30));
  EXPECT_TRUE(!window->MapTools().Measure().Measuring() && Panel(1).isEmpty());
  Move(origin + QPoint(40, 30));
  EXPECT_EQ(Panel(2).toStdString(), "  " + scenario::FormatPosition(PointAt(origin + QPoint(40, 30)), false));
  Map().Projection().SetScaleFactor(0);  // the whole globe: off it at the corner, the readout stays
  TGeoPoint off;
  ASSERT_FALSE(Map().DeviceXYToLL(1, 1, off));
  const QString before = Panel(2);
  Move(QPoint(1, 1));
  EXPECT_EQ(Panel(2), before);
}

TEST_F(MapInteractionTest, CtrlDoubleClickLogsThePositionWithoutMeasuringALeftDragZooms) {
  const QPoint at(Child<platform::QtViewWidget>("Globe")->width() / 2, Child<platform::QtViewWidget>("Globe")->height() / 2);
  DoubleClick(at, Qt::LeftButton, Qt::ControlModifier);
  EXPECT_TRUE(Panel(1).isEmpty());
  EXPECT_EQ(Child<QPlainTextEdit>("Memo1")->toPlainText().toStdString(), "LL=" + scenario::FormatPosition(PointAt(at), false));
  // Other modifiers and other buttons neither measure nor log.
  DoubleClick(at, Qt::LeftButton, Qt::AltModifier);
  DoubleClick(at, Qt::RightButton);
  EXPECT_FALSE(window->MapTools().Measure().Measuring());
  EXPECT_EQ(Child<QPlainTextEdit>("Memo1")->toPlainText().count("LL="), 1);
  const long double scale = Map().Projection().ScaleFactor();
  const QPoint from = at - QPoint(60, 40);
  Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::NoModifier);
  DragTo(from + QPoint(120, 80));
  Send(QEvent::MouseButtonRelease, from + QPoint(120, 80), Qt::LeftButton, Qt::NoModifier);
  EXPECT_GT(Map().Projection().ScaleFactor(), scale * 2);
}

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
  const TGeoPoint wp0 = TGeoPoint::FromDegrees(27, 33);
  const TGeoPoint wp1 = TGeoPoint::FromDegrees(25, 34);
  // 33 40.5 N, 26 10.5 E: in the middle of the arc minutes 3340N 02610E.
  const TGeoPoint dropAt = TGeoPoint::FromDegrees(26 + 10.5 / 60, 33 + 40.5 / 60);
};

// Case 3 of Force A1 has DELAY=6 on its fourth line.
class PickPointTest : public MapDirectTest {
 protected:
  void SetUp() override {
    MapDirectTest::SetUp();
    // Zoomed in on the point so that a pixel is a fraction of an arc minute.
    Map().LocateToLL(known.LongX, known.LatY);
    Map().Projection().SetAltitude(Map().Projection().Altitude() / 10);
  }
  void PickLine(int row) {
    SelectLine(row);
    window->Actions()[TCommand::PickPoint]->trigger();
  }
  // 34 30.5 N, 26 00.5 E: in the middle of the arc minutes 3430N 02600E.
  const TGeoPoint known = TGeoPoint::FromDegrees(26 + 0.5 / 60, 34 + 30.5 / 60);
};

// Pick point on the window's map (the tool itself: MapToolsTest): the case list's selected line
// takes the clicked position as a step, its route and circle follow; undone, the line is back.
TEST_F(PickPointTest, ClickGivesTheSelectedLineTheClickedPositionUndoably) {
  const platform::TextLines loaded = AlliedLines();
  ASSERT_EQ(window->CaseLines().Line(4), "WP=3300N 02700E");
  PickLine(4);
  Click(PixelOf(known));
  EXPECT_EQ(window->CaseLines().Line(4), "WP=3430N 02600E");
  EXPECT_EQ(std::ranges::count(AlliedLines(), "WP=3430N 02600E") + std::ranges::count(AlliedLines(), "WP=3300N 02700E"), 1);
  EXPECT_EQ(window->EditState().Cases.CaseWaypoints[0].Point(0), NorthEast(34, 30, 26, 0));
  EXPECT_EQ(window->EditState().SelectedPoint, NorthEast(34, 30, 26, 0));  // the selected line's mark moves with it
  EXPECT_EQ(window->Actions()[TCommand::Undo]->text(), "Undo Pick point for line 5 of Force A1 case 1");
  window->Actions()[TCommand::Undo]->trigger();
  EXPECT_EQ(AlliedLines(), loaded);
  // Without a selected line there is nothing to pick for.
  CaseList().clearSelection();
  window->Actions()[TCommand::PickPoint]->trigger();
  EXPECT_FALSE(window->MapTools().Picking());
}

// The routes are drawn again at once with the new current case, even when the case list
// cannot be filled (here: no "ENDMISSION" after the force, which is reported).
TEST_F(PickPointTest, SelectingATabRedrawsTheRoutesWhateverTheCaseListFinds) {
  platform::TextLines& lines = window->Scenario().SideLines[1];
  lines.erase(std::remove(lines.begin(), lines.end(), std::string("ENDMISSION")), lines.end());
  platform::testing::RecordingViewHost host;
  Map().SetHost(&host);
  Child<QTabBar>("tcCasesTabs")->setCurrentIndex(5);  // no "CASE6" either: the walk meets the file's end
  Map().SetHost(Child<platform::QtViewWidget>("Globe"));
  EXPECT_EQ(window->CaseEditor().CurrentCase(), 6);
  EXPECT_EQ(window->CaseLines().rowCount(), 0);  // the case list stopped early
  EXPECT_GE(host.Invalidations, 1);
}

// A mark dragged on the window's map (the tool itself: MapToolsTest): Escape draws the route
// from the document again, a release writes the line as one step that undo takes back.
TEST_F(MapDirectTest, DraggedWaypointWritesItsLineUndoablyEscapeCancels) {
  const platform::TextLines before = AlliedLines();
  const QPoint from = PixelOf(wp0), to = PixelOf(dropAt);
  Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::NoModifier);
  DragTo(to);
  ASSERT_NE(window->EditState().Cases.CaseWaypoints[0].Point(0), wp0);
  Key(Qt::Key_Escape);
  EXPECT_FALSE(window->MapTools().Dragging());
  // The point is back under its handle, away from the mouse: no highlight, no move cursor.
  EXPECT_FALSE(window->MapTools().Drag().Hovered());
  EXPECT_EQ(Child<platform::QtViewWidget>("Globe")->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(window->EditState().Cases.CaseWaypoints[0].Point(0), wp0);
  Send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoModifier);
  EXPECT_FALSE(window->Scenario().Modified);
  Send(QEvent::MouseButtonPress, PixelOf(wp0), Qt::LeftButton, Qt::NoModifier);
  EXPECT_TRUE(window->MapTools().Dragging());
  EXPECT_EQ(window->MapTools().Band(), nullptr);
  const QPoint start = PixelOf(wp0), end = PixelOf(dropAt);
  DragTo((start + end) / 2);
  // Live: the parsed route point is where the mouse is, the line not yet changed.
  EXPECT_EQ(window->EditState().Cases.CaseWaypoints[0].Point(0), PointAt((start + end) / 2));
  EXPECT_EQ(window->CaseLines().Line(4), "WP=3300N 02700E");
  // The status bar gives the line as it would read and the legs into and out of the point.
  const std::string line = "WP=" + scenario::FormatPosition(PointAt((start + end) / 2), false);
  EXPECT_EQ(Panel(2).toStdString().rfind("  " + line + "   Leg in: ", 0), 0u) << Panel(2).toStdString();
  EXPECT_TRUE(Panel(2).contains("   Leg out: ")) << Panel(2).toStdString();
  DragTo(end);
  Send(QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoModifier);
  EXPECT_FALSE(window->MapTools().Dragging());
  EXPECT_EQ(window->CaseLines().Line(4), "WP=3340N 02610E");
  EXPECT_EQ(window->EditState().Cases.CaseWaypoints[0].Point(0), NorthEast(33, 40, 26, 10));
  ASSERT_EQ(window->UndoStack().count(), 1);
  EXPECT_EQ(window->UndoStack().text(0), "Move point");
  window->UndoStack().undo();
  EXPECT_EQ(AlliedLines(), before);
}

// A press within 6 logical pixels of a handle takes it, 7 pixels off starts a box zoom; at a
// device pixel ratio of 2 the reach is twice as far. Of two handles in reach the nearer is
// taken. The handle a press would take is highlighted under the mouse, with the move cursor.
TEST_F(MapDirectTest, PressNearAHandleTakesTheNearestAMissZoomsHoverHighlights) {
  const int screen = Map().Canvas().ScreenResolution();
  for (const auto& [ratio, offset, takes] : {std::tuple{1, 6, true}, {1, 7, false}, {2, 12, true}, {2, 13, false}}) {
    Map().Canvas().SetOutputResolution(screen * ratio);
    const QPoint at = PixelOf(wp1) + QPoint(0, offset);
    Send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(window->MapTools().Dragging(), takes) << ratio << " " << offset;
    EXPECT_EQ(window->MapTools().Band() != nullptr, !takes) << ratio << " " << offset;
    Send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoModifier);
  }
  Map().Canvas().SetOutputResolution(screen);
  EXPECT_FALSE(window->Scenario().Modified);
  Move(PixelOf(wp1) + QPoint(3, 3));
  const scenario::TRoutePointRef second{scenario::TRouteMark::Waypoint, 1};
  EXPECT_EQ(window->MapTools().Drag().Hovered(), second);
  EXPECT_EQ(Child<platform::QtViewWidget>("Globe")->cursor().shape(), Qt::SizeAllCursor);
  platform::testing::RecordingDrawingSurface surface(Map().CanvasWidth(), Map().CanvasHeight());
  Map().Paint(surface);
  const auto boxes = surface.Calls(platform::testing::DrawOp::Rectangle);
  EXPECT_TRUE(std::any_of(boxes.begin(), boxes.end(), [](const auto& call) {
    return call.State.CurrentBrush.Color == scenario::CaseColour(1) && call.Rect.Right - call.Rect.Left == 2 * 4 + 1;
  }));
  Move(PixelOf(wp1) + QPoint(30, 30));
  EXPECT_FALSE(window->MapTools().Drag().Hovered());
  EXPECT_EQ(Child<platform::QtViewWidget>("Globe")->cursor().shape(), Qt::ArrowCursor);
  // Zoomed out until the two waypoints are 10 pixels apart: 4 from the second, 6 from the first.
  while ((PixelOf(wp0) - PixelOf(wp1)).manhattanLength() > 14) Map().Projection().SetAltitude(Map().Projection().Altitude() * 11 / 10);
  const QPoint w0 = PixelOf(wp0), w1 = PixelOf(wp1);
  const double apart = std::hypot(w0.x() - w1.x(), w0.y() - w1.y());
  ASSERT_TRUE(apart >= 8 && apart <= 11) << apart;
  const QPoint between = w1 + (w0 - w1) * (4 / apart);
  Send(QEvent::MouseButtonPress, between, Qt::LeftButton, Qt::NoModifier);
  EXPECT_EQ(window->MapTools().Drag().Hovered(), second);
  Send(QEvent::MouseButtonRelease, between, Qt::LeftButton, Qt::NoModifier);
}

TEST_F(MapDirectTest, HoverTextTellsTheLineTheLegAndTheArrivalAClickOnAForceMarkSelectsIt) {
  const QPoint at = PixelOf(wp1);
  const std::string text = window->RouteTooltipAt(at.x(), at.y()).toStdString();
  EXPECT_EQ(text.rfind("WP=3400N 02500E\nLeg: ", 0), 0u) << text;
  // Over the leg between the two waypoints the text names the leg by both its lines.
  const TGeoPoint middle =
      globe::DestinationPoint(wp0, globe::InitialBearing(wp0, wp1), globe::GreatCircleDistance(wp0, wp1) / 2);
  const std::string leg = window->RouteTooltipAt(PixelOf(middle).x(), PixelOf(middle).y()).toStdString();
  EXPECT_EQ(leg.rfind("Leg from WP=3300N 02700E to WP=3400N 02500E\nLeg: ", 0), 0u) << leg;
  EXPECT_TRUE(window->RouteTooltipAt(at.x() + 40, at.y() + 40).isEmpty());
  // A click on another force's mark selects that force.
  scenario::TForce* other = nullptr;
  for (scenario::TForce* force : window->Scenario().ForceList)
    if (force != window->CaseEditor().CurrentForce()) other = force;
  ASSERT_NE(other, nullptr);
  const TGeoPoint mark = other->GetCentroid();
  Map().LocateToLL(mark.LongX, mark.LatY);
  Click(PixelOf(mark));
  EXPECT_EQ(window->CaseEditor().SelectedRowForce(), other);
}

TEST_F(MapDirectTest, WheelZoomsAboutTheCursorCtrlFinerKeysTurnZoomAndShowAll) {
  for (const auto& [at, delta, keys, step] : {std::tuple{QPoint(120, 90), 120, Qt::KeyboardModifiers(), 0.8},
                                                {QPoint(250, 150), -120, Qt::KeyboardModifiers(Qt::ControlModifier), 1.05}}) {
    const TGeoPoint under = PointAt(at);
    const std::int32_t altitude = Map().Projection().Altitude();
    Wheel(at, delta, keys);
    EXPECT_NEAR(Map().Projection().Altitude(), altitude * step, 1.0);
    const QPoint off = PixelOf(under) - at;
    EXPECT_TRUE(std::abs(off.x()) <= 1 && std::abs(off.y()) <= 1) << delta;
  }
  // The map takes the keyboard: arrows turn it, plus and minus zoom, Home shows every base and F
  // the selected force's routes.
  Map().LocateToLL(wp0.LongX, wp0.LatY);
  const QPoint centre(Map().CanvasWidth() / 2, Map().CanvasHeight() / 2);
  const TGeoPoint east = PointAt(centre + QPoint(Map().CanvasWidth() / 10, 0));
  Key(Qt::Key_Right);
  EXPECT_LE(std::abs(PixelOf(east).x() - centre.x()), 4);
  const std::int32_t altitude = Map().Projection().Altitude();
  Key(Qt::Key_Plus);
  EXPECT_LT(Map().Projection().Altitude(), altitude);
  Key(Qt::Key_Minus);
  Key(Qt::Key_Minus);
  EXPECT_GT(Map().Projection().Altitude(), altitude);
  const auto inView = [this](const TGeoPoint& point) {
    const QPoint xy = PixelOf(point);
    return xy.x() >= 0 && xy.y() >= 0 && xy.x() < Map().CanvasWidth() && xy.y() < Map().CanvasHeight();
  };
  Map().LocateToLL(-60 * 5'400'000, 0);  // far away
  Key(Qt::Key_Home);
  for (const scenario::TBase* base : window->Scenario().BaseList) EXPECT_TRUE(inView(base->Location)) << base->Title();
  Map().LocateToLL(-60 * 5'400'000, 0);
  Key(Qt::Key_F);
  EXPECT_TRUE(inView(wp0) && inView(wp1));
}

// Home and F leave a tenth of the window free on every side of what they show, and fill the
// rest in one direction.
TEST_F(MapDirectTest, HomeAndZoomToForceLeaveATenthOfTheWindowFree) {
  const auto scenarioPoints = scenario::ScenarioExtentPoints(window->Scenario(), Map());
  const auto forcePoints = scenario::ForceRoutePoints(window->CaseEditor().CurrentForce(), window->EditState().Cases);
  ASSERT_GE(forcePoints.size(), 2u);
  for (const auto& [key, points] : {std::pair{Qt::Key_Home, scenarioPoints}, {Qt::Key_F, forcePoints}}) {
    Map().LocateToLL(-60 * 5'400'000, 0);
    Key(key);
    const int width = Map().CanvasWidth(), height = Map().CanvasHeight();
    int left = width, right = 0, top = height, bottom = 0;
    for (const TGeoPoint& point : points) {
      const QPoint xy = PixelOf(point);
      left = std::min(left, xy.x()), right = std::max(right, xy.x());
      top = std::min(top, xy.y()), bottom = std::max(bottom, xy.y());
    }
    const std::string box = std::to_string(left) + " " + std::to_string(right) + " " + std::to_string(top) + " " +
                            std::to_string(bottom) + " in " + std::to_string(width) + "x" + std::to_string(height);
    const int marginX = width / 10, marginY = height / 10;
    EXPECT_TRUE(left >= marginX - 2 && right <= width - marginX + 2 && top >= marginY - 2 && bottom <= height - marginY + 2) << box;
    EXPECT_TRUE((left <= marginX + 3 && right >= width - marginX - 3) || (top <= marginY + 3 && bottom >= height - marginY - 3)) << box;
  }
}

// Base, force and arrival-time titles never print over each other on a crowded map; a label's
// white outline is the same text a pixel beside it.
TEST_F(MapDirectTest, TitlesNeverOverlapOnACrowdedMap) {
  Key(Qt::Key_Home);
  Map().Projection().SetAltitude(Map().Projection().Altitude() * 3);
  platform::testing::RecordingDrawingSurface surface(Map().CanvasWidth(), Map().CanvasHeight());
  Map().RedrawGlobe();
  Map().Paint(surface);
  std::vector<std::pair<std::string, platform::TPoint>> seen;
  std::vector<platform::TRect> boxes;
  for (const auto& call : surface.Calls(platform::testing::DrawOp::TextOut)) {
    const platform::TPoint at = call.Points.front();
    const bool outline = std::any_of(seen.begin(), seen.end(), [&](const auto& s) {
      return s.first == call.Text && std::abs(s.second.X - at.X) + std::abs(s.second.Y - at.Y) <= 2;
    });
    seen.emplace_back(call.Text, at);
    if (outline) continue;
    const int height = call.State.CurrentFont.Height, width = static_cast<int>(call.Text.size()) * std::max(1, height / 2);
    const platform::TRect a = globe::TextBox(at.X, at.Y, {width, height}, call.State.Align);
    for (const platform::TRect& b : boxes)
      EXPECT_FALSE(a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom) << call.Text;
    boxes.push_back(a);
  }
  EXPECT_FALSE(boxes.empty());
}

const std::string kDesertLine = "WP=2900N 02300E";

class LintEditingTest : public MapInteractionTest {
 protected:
  // The 1-based line of the Allied side's lines that reads text; 0 when none does.
  int AlliedLine(const std::string& text) {
    const auto& lines = window->Scenario().SideLines[1];
    const auto at = std::find(lines.begin(), lines.end(), text);
    return at == lines.end() ? 0 : static_cast<int>(at - lines.begin()) + 1;
  }
  int DesertFindings() {
    const int line = AlliedLine(kDesertLine);
    return static_cast<int>(std::count_if(
        Child<TdkProblems>("dkProblems")->Problems().begin(), Child<TdkProblems>("dkProblems")->Problems().end(), [&](const auto& problem) {
          return line > 0 && problem.Code == "waypoint-on-land" && problem.Line == line &&
                 std::filesystem::path(problem.File).filename() == "AlliedShips.cfg";
        }));
  }
  // Warning triangles drawn on the map at the desert waypoint.
  int DesertMarks() {
    const int w = Child<platform::QtViewWidget>("Globe")->width(), h = Child<platform::QtViewWidget>("Globe")->height();
    platform::testing::RecordingDrawingSurface target{w, h};
    Map().RenderToCanvas(target, platform::TRect{0, 0, w, h}, false);
    globe::TGeoPoint desert;
    EXPECT_TRUE(scenario::ParsePositionValue("2900N 02300E", desert));
    platform::TPoint at;
    if (!Map().Projection().PointLLToDeviceXY(desert, at)) return 0;
    const auto triangle = scenario::WarningTriangle(at);
    const std::vector<platform::TPoint> expected(triangle.begin(), triangle.end());
    const auto polygons = target.Calls(platform::testing::DrawOp::Polygon);
    return static_cast<int>(
        std::count_if(polygons.begin(), polygons.end(), [&](const auto& call) { return call.Points == expected; }));
  }
};

// Force A1 stands above Force C in the file: a line inserted there (a copy of its first
// waypoint) moves Force C's finding with its line.
TEST_F(LintEditingTest, WaypointMovedOntoLandIsFoundFollowsItsLineAndIsMarkedUntilUndone) {
  SelectForce("Force C");
  const auto loaded = Child<TdkProblems>("dkProblems")->Problems();
  const int row = 4;  // the first waypoint of its first case
  ASSERT_EQ(window->CaseLines().Line(row).rfind("WP=", 0), 0u);
  SelectLine(row);
  dialogs->QueueInput(kDesertLine);
  window->Actions()[TCommand::EditLine]->trigger();
  const int before = AlliedLine(kDesertLine);
  ASSERT_GT(before, 0);
  EXPECT_EQ(DesertFindings(), 1);
  EXPECT_EQ(DesertMarks(), 1);
  // Another force selected (the edit saved at the question): its findings only, the desert
  // waypoint unmarked.
  dialogs->QueueAnswer(platform::DialogAnswer::Yes);
  SelectForce("Force A1");
  EXPECT_EQ(DesertMarks(), 0);
  SelectLine(row);
  window->Actions()[TCommand::InsertLine]->trigger();
  ASSERT_EQ(AlliedLine(kDesertLine), before + 1);
  EXPECT_EQ(DesertFindings(), 1);
  window->UndoStack().undo();
  window->UndoStack().undo();
  EXPECT_EQ(AlliedLine(kDesertLine), 0);
  EXPECT_EQ(Child<TdkProblems>("dkProblems")->Problems(), loaded);
  EXPECT_EQ(DesertMarks(), 0);
}


// The tools on a map of their own, without a window. The shown case has no force and no lines
// (no marks to drag) until ShowForceA1 gives it Force A1's case 1 as the Crete demo has it, a
// start in place of its base; the tools' edits change its lines, kept by name, and parse them
// again as the editor does.
class MapToolsTest : public ::testing::Test {
 protected:
  struct FakeCase : TShownCase {
    scenario::TForce* Force() const override { return force; }
    int CaseNumber() const override { return number; }
    scenario::TForceCases& Cases() override { return cases; }
    platform::TextLines Lines() const override { return lines; }
    void Reparse() override
    {
      cases = scenario::TForceCases();
      scenario::PutParsedCase(scenario::ParseCaseLines(lines, 1, lines.size(), {}, scenario::TCaseReading::StopAtFault),
                              1, cases);
    }
    bool ReplaceLine(int row, const std::string& text, const QString& step) override
    {
      lines.at(static_cast<std::size_t>(row)) = text;
      return Took(step);
    }
    bool InsertLine(int row, const std::string& text, const QString& step) override
    {
      lines.insert(lines.begin() + row, text);
      return Took(step);
    }
    bool Took(const QString& step)
    {
      steps.push_back(step.toStdString());
      Reparse();
      return true;
    }
    scenario::TForce* force = nullptr;
    int number = 1;
    platform::TextLines lines;
    scenario::TForceCases cases;
    std::vector<std::string> steps;
  };
  void SetUp() override {
    scenario::ApplyGlobeStartSettings(map);
    map.SetClientSize(800, 600);
    tools.Hook(map);
  }
  void ShowForceA1() {
    shown.force = scenario::TForce::CreateIn(*map.NewObjectSource<globe::TGlobeObjectSource>());
    shown.force->SetTitle("Force A1");
    shown.lines = {"CASE1", "FORMATIONHEADING=300", "LL=3110N 02950E", "CWPI=0",
                   "WP=3300N 02700E", "WP=3400N 02500E", "WP=3500N 02250E"};
    shown.Reparse();
    map.LocateToLL(wp0.LongX, wp0.LatY);
  }
  // A left drag from one pixel to another.
  void Band(platform::TPoint from, platform::TPoint to) {
    map.MouseDown(platform::MouseButton::Left, {}, from.X, from.Y);
    map.MouseMove({.Left = true}, to.X, to.Y);
    map.MouseUp(platform::MouseButton::Left, {}, to.X, to.Y);
  }
  platform::TPoint PixelOf(const TGeoPoint& point) {
    platform::TPoint xy;
    EXPECT_TRUE(map.Projection().PointLLToDeviceXY(point, xy));
    return xy;
  }
  TGeoPoint PointAt(platform::TPoint at) {
    TGeoPoint point;
    EXPECT_TRUE(map.DeviceXYToLL(at.X, at.Y, point));
    return point;
  }
  TGeoPoint LegMiddle() {
    return globe::DestinationPoint(wp0, globe::InitialBearing(wp0, wp1), globe::GreatCircleDistance(wp0, wp1) / 2);
  }
  void LeftClick(platform::TPoint at, platform::MouseButton button = platform::MouseButton::Left) {
    map.MouseDown(button, {}, at.X, at.Y);
    map.MouseUp(button, {}, at.X, at.Y);
  }
  void MeasureFrom(platform::TPoint at) {
    map.MouseDown(platform::MouseButton::Left, {}, at.X, at.Y);
    map.MouseUp(platform::MouseButton::Left, {}, at.X, at.Y);
    map.DoubleClick(at.X, at.Y);
    map.MouseUp(platform::MouseButton::Left, {}, at.X, at.Y);
    ASSERT_TRUE(tools.Measure().Measuring());
  }
  const TGeoPoint wp0 = TGeoPoint::FromDegrees(27, 33);
  const TGeoPoint wp1 = TGeoPoint::FromDegrees(25, 34);
  // 33 40.5 N, 26 10.5 E: in the middle of the arc minutes 3340N 02610E.
  const TGeoPoint dropAt = TGeoPoint::FromDegrees(26 + 10.5 / 60, 33 + 40.5 / 60);
  globe::TVoduz4 map;
  FakeCase shown;
  QLabel origin, readout;
  QPlainTextEdit log;
  platform::RegionalSettings regional;
  TMapTools tools{shown, origin, readout, log, regional};
};

// The dragged waypoint follows the mouse; Escape puts it back without a change, and a release
// writes exactly its line as one step. A drag's release, like every left release, ends measuring.
TEST_F(MapToolsTest, DraggedWaypointFollowsTheMouseReleaseWritesExactlyThatLineEscapeCancels) {
  ShowForceA1();
  const platform::TextLines before = shown.lines;
  const platform::TPoint from = PixelOf(wp0), to = PixelOf(dropAt);
  const platform::TPoint middle{(from.X + to.X) / 2, (from.Y + to.Y) / 2};
  map.MouseDown(platform::MouseButton::Left, {}, from.X, from.Y);
  EXPECT_TRUE(tools.Dragging());
  EXPECT_EQ(tools.Band(), nullptr);
  map.MouseMove({.Left = true}, middle.X, middle.Y);
  EXPECT_EQ(shown.cases.CaseWaypoints[0].Point(0), PointAt(middle));  // live; the line not yet changed
  EXPECT_EQ(shown.lines, before);
  map.KeyDown(platform::ViewKey::Escape, {});
  EXPECT_FALSE(tools.Dragging());
  EXPECT_EQ(shown.cases.CaseWaypoints[0].Point(0), wp0);
  map.MouseUp(platform::MouseButton::Left, {}, to.X, to.Y);
  EXPECT_TRUE(shown.steps.empty());
  MeasureFrom({middle.X, middle.Y + 40});
  map.MouseDown(platform::MouseButton::Left, {}, from.X, from.Y);
  map.MouseMove({.Left = true}, to.X, to.Y);
  map.MouseUp(platform::MouseButton::Left, {}, to.X, to.Y);
  EXPECT_FALSE(tools.Dragging() || tools.Measure().Measuring());
  platform::TextLines expected = before;
  expected[4] = "WP=3340N 02610E";
  EXPECT_EQ(shown.lines, expected);
  EXPECT_EQ(shown.steps, std::vector<std::string>{"Move point"});
}

TEST_F(MapToolsTest, ShiftClickOnALegInsertsAWaypointBetweenItsLines) {
  ShowForceA1();
  const platform::TPoint at = PixelOf(LegMiddle());
  MeasureFrom({at.X, at.Y + 40});
  map.MouseDown(platform::MouseButton::Left, {.Shift = true}, at.X, at.Y);
  map.MouseUp(platform::MouseButton::Left, {.Shift = true}, at.X, at.Y);
  ASSERT_EQ(shown.lines.size(), 8u);
  EXPECT_EQ(shown.lines[4], "WP=3300N 02700E");
  EXPECT_EQ(shown.lines[5], "WP=" + scenario::FormatPosition(PointAt(at), false));
  EXPECT_EQ(shown.lines[6], "WP=3400N 02500E");
  EXPECT_EQ(shown.cases.CaseWaypoints[0].Count(), 4);
  EXPECT_EQ(shown.steps, std::vector<std::string>{"Insert waypoint"});
  EXPECT_FALSE(tools.Measure().Measuring());
}

// A waypoint line takes the clicked position, another line becomes a start position, each a
// step of its own; other buttons leave the pick waiting; a click off the globe, or after the
// line or the case changed, ends it without a change.
TEST_F(MapToolsTest, PickPointGivesTheLineTheClickedPositionUnlessTheLineChanged) {
  ShowForceA1();
  const TGeoPoint middleOfMinute = TGeoPoint::FromDegrees(27 + 0.5 / 60, 33 + 30.5 / 60);  // 3330N 02700E
  map.LocateToLL(middleOfMinute.LongX, middleOfMinute.LatY);
  map.Projection().SetAltitude(map.Projection().Altitude() / 10);  // a pixel is a fraction of a minute
  const platform::TPoint known = PixelOf(middleOfMinute);
  tools.StartPickPoint(4);
  EXPECT_TRUE(CrossCursorShown());
  LeftClick(known, platform::MouseButton::Right);
  EXPECT_TRUE(tools.Picking());
  LeftClick(known);
  EXPECT_FALSE(tools.Picking() || CrossCursorShown());
  EXPECT_EQ(shown.lines[4], "WP=3330N 02700E");
  tools.StartPickPoint(1);
  LeftClick(known);
  EXPECT_EQ(shown.lines[1], "LL=3330N 02700E");
  EXPECT_EQ(shown.steps, (std::vector<std::string>{"Pick point for line 5 of Force A1 case 1",
                                                   "Pick point for line 2 of Force A1 case 1"}));
  const platform::TextLines picked = shown.lines;
  tools.StartPickPoint(5);
  shown.lines[5] = "WP=3400N 02510E";  // edited while the pick waits
  LeftClick(known);
  tools.StartPickPoint(6);
  shown.number = 2;  // another case shown
  LeftClick(known);
  shown.number = 1;
  tools.StartPickPoint(6);
  map.Projection().SetScaleFactor(0);  // the whole globe: the window's corners are off it
  TGeoPoint off;
  ASSERT_FALSE(map.DeviceXYToLL(1, 1, off));
  LeftClick({1, 1});
  EXPECT_FALSE(tools.Picking() || CrossCursorShown());
  EXPECT_EQ(shown.steps.size(), 2u);
  EXPECT_EQ(shown.lines[6], picked[6]);
}

TEST_F(MapToolsTest, ABandZoomsToItselfASecondPressOrABandUnderTenPixelsZoomsNothing) {
  const long double scale = map.Projection().ScaleFactor();
  map.MouseDown(platform::MouseButton::Left, {}, 100, 100);
  ASSERT_NE(tools.Band(), nullptr);
  EXPECT_FALSE(map.ZoomBandActive());  // the tool's band, not the view's
  map.MouseMove({.Left = true}, 300, 250);
  EXPECT_EQ(tools.Band()->Band(), (platform::TRect{100, 100, 300, 250}));
  map.MouseDown(platform::MouseButton::Right, {}, 300, 250);
  EXPECT_EQ(tools.Band(), nullptr);
  EXPECT_FALSE(map.Rotating());  // the press that ended the band starts nothing else
  map.MouseUp(platform::MouseButton::Right, {}, 300, 250);
  Band({100, 100}, {300, 109});
  EXPECT_EQ(map.Projection().ScaleFactor(), scale);
  Band({300, 250}, {100, 100});  // drawn from its lower right corner
  EXPECT_EQ(tools.Band(), nullptr);
  EXPECT_GT(map.Projection().ScaleFactor(), scale * 2.5);
}

// The measuring readout stands in a box that fits its text (the surface's own text extent, two
// pixels of room each way), whatever the text's length.
TEST_F(MapToolsTest, MeasuringReadoutsBoxFitsItsText) {
  map.MouseDown(platform::MouseButton::Left, {}, 400, 300);
  map.MouseUp(platform::MouseButton::Left, {}, 400, 300);
  map.MouseDown(platform::MouseButton::Left, {.Left = true, .Double = true}, 400, 300);
  map.DoubleClick(400, 300);
  map.MouseUp(platform::MouseButton::Left, {}, 400, 300);
  ASSERT_TRUE(tools.Measure().Measuring());
  std::vector<int> widths;
  for (const int x : {402, 700}) {
    map.MouseMove({}, x, 300);
    platform::testing::RecordingDrawingSurface surface(map.CanvasWidth(), map.CanvasHeight());
    map.Paint(surface);
    const auto texts = surface.Calls(platform::testing::DrawOp::TextOut);
    const auto boxes = surface.Calls(platform::testing::DrawOp::Rectangle);
    ASSERT_TRUE(!texts.empty() && !boxes.empty());
    const auto& text = texts.back();
    const platform::TRect box = boxes.back().Rect;
    const int textWidth = static_cast<int>(text.Text.size()) * (text.State.CurrentFont.Height / 2);
    EXPECT_EQ(box.Right - box.Left, textWidth + 4) << text.Text;
    EXPECT_EQ(box.Bottom - box.Top, text.State.CurrentFont.Height + 4) << text.Text;
    EXPECT_EQ(box, tools.Measure().ReadoutLabel().Box);
    widths.push_back(box.Right - box.Left);
  }
  EXPECT_LT(widths[0], widths[1]);  // "Dist: 0.x Nm" against hundreds of miles
}

}  // namespace
}  // namespace editor
