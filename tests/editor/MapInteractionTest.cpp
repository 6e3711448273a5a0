// The map of the main window as a user drives it with the mouse, wheel and keys, end to end; the
// map tools and the navigation on a map of their own over a fake shown case.
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
#include "editor/MapNavigation.h"
#include "editor/MapTools.h"
#include "editor/ShownCase.h"
#include "scenario/EditorGlobeSettings.h"
#include "globe/view/Voduz4.h"
#include "editor/ProblemsPanel.h"
#include "globe/data/Geodesy.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/view/GlobeProjection.h"
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

// Force A1's case 1 (AlliedShips.cfg): CASE1, FORMATIONHEADING=300, LOCATION=Alexandria, CWPI=0,
// WP=3300N 02700E (row 4), WP=3400N 02500E (row 5), WP=3500N 02250E (row 6).
const TGeoPoint kWp0 = TGeoPoint::FromDegrees(27, 33);
const TGeoPoint kWp1 = TGeoPoint::FromDegrees(25, 34);
// 33 40.5 N, 26 10.5 E: in the middle of the arc minutes 3340N 02610E.
const TGeoPoint kDropAt = TGeoPoint::FromDegrees(26 + 10.5 / 60, 33 + 40.5 / 60);
const TGeoPoint kLegMiddle =
    globe::DestinationPoint(kWp0, globe::InitialBearing(kWp0, kWp1), globe::GreatCircleDistance(kWp0, kWp1) / 2);

// The Crete window of the editing tests, loaded and shown, Force A1 selected with its first
// waypoint in the middle of the map; mouse, wheel and keys go to the map window.
class MapInteractionTest : public fixtures::ShownCreteWindowTest {
 protected:
  void SetUp() override {
    ShownCreteWindowTest::SetUp();
    if (HasFatalFailure()) return;
    SelectForce("Force A1");
    Map().LocateToLL(kWp0.LongX, kWp0.LatY);
  }
  globe::TVoduz4& Map() { return window->GlobeMap(); }
  platform::QtViewWidget& Globe() const { return *Child<platform::QtViewWidget>("Globe"); }
  QString Panel(int i) const { return window->findChild<QLabel*>(QString("StatusPanel%1").arg(i))->text(); }
  void Send(QEvent::Type type, QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier, Qt::MouseButtons held = Qt::NoButton) {
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) held = Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), Globe().mapToGlobal(QPointF(at)), button, held, keys);
    QCoreApplication::sendEvent(&Globe(), &event);
  }
  void Click(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    Send(QEvent::MouseButtonPress, at, keys);
    Send(QEvent::MouseButtonRelease, at, keys);
  }
  // The toolkit's order: press, release, double-click press, release.
  void DoubleClick(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    Click(at, keys);
    Send(QEvent::MouseButtonDblClick, at, keys);
    Send(QEvent::MouseButtonRelease, at, keys);
  }
  void Move(QPoint at) { Send(QEvent::MouseMove, at); }
  void Drag(QPoint from, QPoint to) {
    Send(QEvent::MouseButtonPress, from);
    Send(QEvent::MouseMove, to, Qt::NoModifier, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, to);
  }
  void Key(int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&Globe(), &event);
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
  bool InView(const TGeoPoint& point) {
    const QPoint xy = PixelOf(point);
    return xy.x() >= 0 && xy.y() >= 0 && xy.x() < Map().CanvasWidth() && xy.y() < Map().CanvasHeight();
  }
  const platform::TextLines& AlliedLines() { return window->Scenario().SideLines[1]; }
  void Undo(const std::string& text) {
    EXPECT_EQ(window->Actions()[TCommand::Undo]->text().toStdString(), "Undo " + text);
    window->Actions()[TCommand::Undo]->trigger();
  }
  // Waypoint-on-land findings in the Problems panel at the Allied side's line that reads text.
  int Findings(const std::string& text) {
    const auto& lines = AlliedLines();
    const int line = static_cast<int>(std::find(lines.begin(), lines.end(), text) - lines.begin()) + 1;
    const auto& problems = Child<TdkProblems>("dkProblems")->Problems();
    return static_cast<int>(std::count_if(problems.begin(), problems.end(), [&](const auto& problem) {
      return problem.Code == "waypoint-on-land" && problem.Line == line &&
             std::filesystem::path(problem.File).filename() == "AlliedShips.cfg";
    }));
  }
  // Warning triangles drawn on the map at a point.
  int WarningMarks(const TGeoPoint& point) {
    platform::testing::RecordingDrawingSurface target{Globe().width(), Globe().height()};
    Map().RenderToCanvas(target, platform::TRect{0, 0, Globe().width(), Globe().height()}, false);
    const auto triangle = scenario::WarningTriangle({PixelOf(point).x(), PixelOf(point).y()});
    const std::vector<platform::TPoint> expected(triangle.begin(), triangle.end());
    const auto polygons = target.Calls(platform::testing::DrawOp::Polygon);
    return static_cast<int>(std::count_if(polygons.begin(), polygons.end(), [&](const auto& call) { return call.Points == expected; }));
  }
};

// The wheel zooms about the cursor, the keys turn, zoom and show the scenario or the force; a
// double-click measures in the status bar, Ctrl + double-click logs the position; a handle under
// the mouse shows the move cursor and a dragged waypoint writes its line, Shift + click on a leg
// inserts one and Pick point gives the selected line the clicked position, each one step that
// undo takes back; a click on another force's mark selects it; a waypoint edited onto land is
// found and marked while its force is selected, until undone; a tab the case list cannot fill
// still redraws the routes.
TEST_F(MapInteractionTest, WheelKeysMeasureDragInsertPickSelectAndLintThroughTheWindow) {
  const std::int32_t start = Map().Projection().Altitude();
  const QPoint at(120, 90);
  const TGeoPoint under = PointAt(at);
  QWheelEvent wheel(QPointF(at), Globe().mapToGlobal(QPointF(at)), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&Globe(), &wheel);
  EXPECT_NEAR(Map().Projection().Altitude(), start * 0.8, 1.0);
  EXPECT_LE((PixelOf(under) - at).manhattanLength(), 2);
  const QPoint centre(Map().CanvasWidth() / 2, Map().CanvasHeight() / 2);
  const TGeoPoint east = PointAt(centre + QPoint(Map().CanvasWidth() / 10, 0));
  Key(Qt::Key_Right);
  EXPECT_LE(std::abs(PixelOf(east).x() - centre.x()), 4);
  Key(Qt::Key_Plus);
  EXPECT_LT(Map().Projection().Altitude(), start * 0.7);
  Key(Qt::Key_Minus);
  Key(Qt::Key_Minus);
  EXPECT_GT(Map().Projection().Altitude(), start * 0.9);
  Map().LocateToLL(-60 * fixtures::kDegree, 0);  // far away
  Key(Qt::Key_Home);
  for (const scenario::TBase* base : window->Scenario().BaseList) EXPECT_TRUE(InView(base->Location)) << base->Title();
  Map().LocateToLL(-60 * fixtures::kDegree, 0);
  Key(Qt::Key_F);
  EXPECT_TRUE(InView(kWp0) && InView(kWp1));
  Map().Projection().SetAltitude(start);
  Map().LocateToLL(kWp0.LongX, kWp0.LatY);

  const QPoint origin = PixelOf(kWp0) + QPoint(0, 60);  // clear of the handles
  DoubleClick(origin);
  EXPECT_EQ(Panel(1).toStdString(), "Origin: " + scenario::FormatPosition(PointAt(origin), true));
  Move(origin + QPoint(50, 0));
  EXPECT_TRUE(Panel(2).startsWith("  Dist: ")) << Panel(2).toStdString();
  Click(origin + QPoint(30, 30));
  EXPECT_TRUE(Panel(1).isEmpty());
  DoubleClick(origin, Qt::ControlModifier);
  EXPECT_TRUE(Panel(1).isEmpty());
  EXPECT_EQ(Child<QPlainTextEdit>("Memo1")->toPlainText().toStdString(), "LL=" + scenario::FormatPosition(PointAt(origin), false));

  const platform::TextLines loaded = AlliedLines();
  Move(PixelOf(kWp0) + QPoint(2, 2));
  EXPECT_EQ(Globe().cursor().shape(), Qt::SizeAllCursor);
  Drag(PixelOf(kWp0), PixelOf(kDropAt));
  EXPECT_EQ(window->CaseLines().Line(4), "WP=3340N 02610E");
  EXPECT_EQ(window->EditState().Cases.CaseWaypoints[0].Point(0), NorthEast(33, 40, 26, 10));
  ASSERT_EQ(window->UndoStack().count(), 1);
  Move(PixelOf(kWp1) + QPoint(30, 30));
  EXPECT_EQ(Globe().cursor().shape(), Qt::ArrowCursor);
  Undo("Move point");
  EXPECT_EQ(AlliedLines(), loaded);
  EXPECT_FALSE(window->Scenario().Modified);
  Click(PixelOf(kLegMiddle), Qt::ShiftModifier);
  EXPECT_EQ(window->CaseLines().Line(5), "WP=" + scenario::FormatPosition(PointAt(PixelOf(kLegMiddle)), false));
  EXPECT_EQ(window->CaseLines().Line(6), "WP=3400N 02500E");
  Undo("Insert waypoint");
  EXPECT_EQ(AlliedLines(), loaded);

  // Pick point, zoomed in on 34 30.5 N, 26 00.5 E so that a pixel is a fraction of an arc minute.
  const TGeoPoint known = TGeoPoint::FromDegrees(26 + 0.5 / 60, 34 + 30.5 / 60);
  Map().LocateToLL(known.LongX, known.LatY);
  Map().Projection().SetAltitude(start / 10);
  SelectLine(4);
  window->Actions()[TCommand::PickPoint]->trigger();
  Click(PixelOf(known));
  EXPECT_EQ(window->CaseLines().Line(4), "WP=3430N 02600E");
  EXPECT_EQ(window->EditState().Cases.CaseWaypoints[0].Point(0), NorthEast(34, 30, 26, 0));
  EXPECT_EQ(window->EditState().SelectedPoint, NorthEast(34, 30, 26, 0));  // the selected line's mark moves with it
  Undo("Pick point for line 5 of Force A1 case 1");
  EXPECT_EQ(AlliedLines(), loaded);
  CaseList().clearSelection();
  window->Actions()[TCommand::PickPoint]->trigger();  // without a selected line there is nothing to pick for
  EXPECT_FALSE(window->MapTools().Picking());

  scenario::TForce& other = Force("Force C");
  Map().LocateToLL(other.GetCentroid().LongX, other.GetCentroid().LatY);
  Click(PixelOf(other.GetCentroid()));
  EXPECT_EQ(window->CaseEditor().SelectedRowForce(), &other);
  // Force C's first waypoint (row 4) into the desert.
  const std::string desert = "WP=2900N 02300E";
  const TGeoPoint desertPoint = NorthEast(29, 0, 23, 0);
  Map().LocateToLL(desertPoint.LongX, desertPoint.LatY);
  const auto problems = Child<TdkProblems>("dkProblems")->Problems();
  ASSERT_EQ(window->CaseLines().Line(4).rfind("WP=", 0), 0u);
  SelectLine(4);
  dialogs->QueueInput(desert);
  window->Actions()[TCommand::EditLine]->trigger();
  EXPECT_EQ(Findings(desert), 1);
  EXPECT_EQ(WarningMarks(desertPoint), 1);
  dialogs->QueueAnswer(platform::DialogAnswer::Yes);  // the edit saved at the question
  SelectForce("Force A1");
  EXPECT_EQ(WarningMarks(desertPoint), 0);  // another force selected: its findings only
  window->UndoStack().undo();
  EXPECT_EQ(std::count(AlliedLines().begin(), AlliedLines().end(), desert), 0);
  EXPECT_EQ(Child<TdkProblems>("dkProblems")->Problems(), problems);

  // Without "ENDMISSION" after the force (reported) and no "CASE6", the case list stops early.
  platform::TextLines& lines = window->Scenario().SideLines[1];
  lines.erase(std::remove(lines.begin(), lines.end(), std::string("ENDMISSION")), lines.end());
  platform::testing::RecordingViewHost host;
  Map().SetHost(&host);
  SelectTab(5);
  Map().SetHost(&Globe());
  EXPECT_EQ(window->CaseEditor().CurrentCase(), 6);
  EXPECT_EQ(window->CaseLines().rowCount(), 0);
  EXPECT_GE(host.Invalidations, 1);
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
    tools.OnHandleHover = [this](bool over) { overHandle = over; };
  }
  void ShowForceA1() {
    shown.force = scenario::TForce::CreateIn(*map.NewObjectSource<globe::TGlobeObjectSource>());
    shown.force->SetTitle("Force A1");
    shown.force->CurrentSpeed = 18;
    shown.lines = {"CASE1", "FORMATIONHEADING=300", "LL=3110N 02950E", "CWPI=0",
                   "WP=3300N 02700E", "WP=3400N 02500E", "WP=3500N 02250E"};
    shown.Reparse();
    map.LocateToLL(kWp0.LongX, kWp0.LatY);
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
  void LeftClick(platform::TPoint at, platform::MouseButton button = platform::MouseButton::Left) {
    map.MouseDown(button, {}, at.X, at.Y);
    map.MouseUp(button, {}, at.X, at.Y);
  }
  // The toolkit's order: press, release, double-click, release.
  void DoubleClick(platform::TPoint at, platform::ShiftState keys = {}, platform::MouseButton button = platform::MouseButton::Left) {
    map.MouseDown(button, keys, at.X, at.Y);
    map.MouseUp(button, keys, at.X, at.Y);
    map.DoubleClick(at.X, at.Y);
    map.MouseUp(button, keys, at.X, at.Y);
  }
  void MeasureFrom(platform::TPoint at) {
    DoubleClick(at);
    ASSERT_TRUE(tools.Measure().Measuring());
  }
  std::vector<platform::testing::DrawCall> Painted(platform::testing::DrawOp op) {
    platform::testing::RecordingDrawingSurface surface(map.CanvasWidth(), map.CanvasHeight());
    map.Paint(surface);
    return surface.Calls(op);
  }
  globe::TVoduz4 map;
  FakeCase shown;
  QLabel origin, readout;
  QPlainTextEdit log;
  platform::RegionalSettings regional;
  TMapTools tools{shown, origin, readout, log, regional};
  bool overHandle = false;
};

// From an origin at 0 N 0 E the row through it is the equator and its column the prime meridian:
// a cursor right of it lies due east, above it due north. The distance is the ellipsoid's (a
// degree of longitude on the equator is about 60.1 Nm); the readout stands in the status bar and
// beside the cursor inside the picture, in a box that fits its text, at the end of a dotted line
// from a red cross on the origin. A click ends measuring and the readout is the position again,
// kept off the globe. Ctrl + double-click logs the position; other keys and buttons do neither.
TEST_F(MapToolsTest, MeasuringGivesDistanceAndBearingBesideTheCursorCtrlDoubleClickLogs) {
  map.LocateToLL(0, 0);
  const platform::TPoint o = PixelOf(TGeoPoint(0, 0));
  MeasureFrom(o);
  const TGeoPoint from = PointAt(o);
  EXPECT_EQ(origin.text().toStdString(), "Origin: " + scenario::FormatPosition(from, true));
  map.MouseMove({}, o.X, o.Y);
  EXPECT_EQ(readout.text().toStdString(), "  Dist: 0.0 Nm  Bearing: 0.0 deg");
  for (const auto& [dx, dy, bearing] : {std::tuple{120, 0, "90.0"}, {-120, 0, "270.0"}, {0, -120, "0.0"}}) {
    map.MouseMove({}, o.X + dx, o.Y + dy);
    EXPECT_TRUE(readout.text().endsWith(QString(" Bearing: %1 deg").arg(bearing))) << readout.text().toStdString();
  }
  map.MouseMove({}, o.X + 120, o.Y);
  EXPECT_NEAR(readout.text().section(' ', 3, 3).toDouble(), 60.11 * (PointAt({o.X + 120, o.Y}).LongX - from.LongX) / 5'400'000.0, 0.3);
  const platform::TPoint centre = PixelOf(tools.Measure().Origin());
  const std::vector<platform::TPoint> bar{{centre.X - 12, centre.Y}, {centre.X + 12, centre.Y}};
  std::vector<int> widths;
  for (const platform::TPoint cursor : {platform::TPoint{o.X + 2, o.Y}, platform::TPoint{o.X + 300, o.Y + 60}}) {
    map.MouseMove({}, cursor.X, cursor.Y);
    platform::testing::RecordingDrawingSurface surface(map.CanvasWidth(), map.CanvasHeight());
    map.Paint(surface);
    bool dotted = false, cross = false;
    for (const auto& call : surface.Calls(platform::testing::DrawOp::Polyline)) {
      dotted |= call.State.CurrentPen.Style == platform::psDot && !call.Points.empty() &&
                std::abs(call.Points.front().X - o.X) <= 1 && std::abs(call.Points.back().X - cursor.X) <= 1;
      cross |= call.State.CurrentPen.Color == platform::clRed && call.Points == bar;
    }
    EXPECT_TRUE(dotted && cross);
    const auto texts = surface.Calls(platform::testing::DrawOp::TextOut);
    const auto boxes = surface.Calls(platform::testing::DrawOp::Rectangle);
    ASSERT_TRUE(!texts.empty() && !boxes.empty());
    const auto& text = texts.back();
    EXPECT_EQ("  " + text.Text, readout.text().toStdString());
    const platform::TPoint at = text.Points.front();  // right of the cursor, or left where the edge would cut it
    EXPECT_TRUE((at.X > cursor.X || at.X < cursor.X - 20) && at.X >= 0 && at.X < map.CanvasWidth()) << at.X;
    // The box: the surface's own text extent, two pixels of room each way.
    const platform::TRect box = boxes.back().Rect;
    EXPECT_EQ(box.Right - box.Left, static_cast<int>(text.Text.size()) * (text.State.CurrentFont.Height / 2) + 4) << text.Text;
    EXPECT_EQ(box.Bottom - box.Top, text.State.CurrentFont.Height + 4) << text.Text;
    EXPECT_EQ(box, tools.Measure().ReadoutLabel().Box);
    widths.push_back(box.Right - box.Left);
  }
  EXPECT_LT(widths[0], widths[1]);  // "Dist: 0.x Nm" against hundreds of miles
  LeftClick({o.X + 30, o.Y + 30});
  EXPECT_TRUE(!tools.Measure().Measuring() && origin.text().isEmpty());
  map.MouseMove({}, o.X + 40, o.Y + 30);
  EXPECT_EQ(readout.text().toStdString(), "  " + scenario::FormatPosition(PointAt({o.X + 40, o.Y + 30}), false));
  DoubleClick(o, {.Ctrl = true});
  EXPECT_EQ(log.toPlainText().toStdString(), "LL=" + scenario::FormatPosition(from, false));
  DoubleClick(o, {.Alt = true});
  DoubleClick(o, {}, platform::MouseButton::Right);
  EXPECT_FALSE(tools.Measure().Measuring() || log.toPlainText().count("LL=") != 1 || !origin.text().isEmpty());
  map.Projection().SetScaleFactor(0);  // the whole globe: off it at the corner, the readout stays
  TGeoPoint off;
  ASSERT_FALSE(map.DeviceXYToLL(1, 1, off));
  const QString before = readout.text();
  map.MouseMove({}, 1, 1);
  EXPECT_EQ(readout.text(), before);
}

// The dragged waypoint follows the mouse, the status bar gives its line and legs; Escape puts it
// back without a change and unhighlights it, and a release writes exactly its line as one step.
// A drag's release, like every left release, ends measuring.
TEST_F(MapToolsTest, DraggedWaypointFollowsTheMouseReleaseWritesExactlyThatLineEscapeCancels) {
  ShowForceA1();
  const platform::TextLines before = shown.lines;
  const platform::TPoint from = PixelOf(kWp0), to = PixelOf(kDropAt);
  const platform::TPoint middle{(from.X + to.X) / 2, (from.Y + to.Y) / 2};
  map.MouseDown(platform::MouseButton::Left, {}, from.X, from.Y);
  EXPECT_TRUE(tools.Dragging() && overHandle);
  EXPECT_EQ(tools.Band(), nullptr);
  map.MouseMove({.Left = true}, middle.X, middle.Y);
  EXPECT_EQ(shown.cases.CaseWaypoints[0].Point(0), PointAt(middle));  // live; the line not yet changed
  EXPECT_EQ(shown.lines, before);
  const std::string line = "  WP=" + scenario::FormatPosition(PointAt(middle), false) + "   Leg in: ";
  EXPECT_EQ(readout.text().toStdString().rfind(line, 0), 0u) << readout.text().toStdString();
  EXPECT_TRUE(readout.text().contains("   Leg out: ")) << readout.text().toStdString();
  map.KeyDown(platform::ViewKey::Escape, {});
  EXPECT_FALSE(tools.Dragging() || tools.Drag().Hovered() || overHandle);
  EXPECT_EQ(shown.cases.CaseWaypoints[0].Point(0), kWp0);
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

// A press within 6 logical pixels of a handle takes it, 7 pixels off starts a box zoom; at a
// device pixel ratio of 2 the reach is twice as far. Of two handles in reach the nearer is
// taken. The handle a press would take is highlighted under the mouse.
TEST_F(MapToolsTest, PressNearAHandleTakesTheNearestAMissZoomsHoverHighlights) {
  ShowForceA1();
  const int screen = map.Canvas().ScreenResolution();
  for (const auto& [ratio, offset, takes] : {std::tuple{1, 6, true}, {1, 7, false}, {2, 12, true}, {2, 13, false}}) {
    map.Canvas().SetOutputResolution(screen * ratio);
    const platform::TPoint at{PixelOf(kWp1).X, PixelOf(kWp1).Y + offset};
    map.MouseDown(platform::MouseButton::Left, {}, at.X, at.Y);
    EXPECT_EQ(tools.Dragging(), takes) << ratio << " " << offset;
    EXPECT_EQ(tools.Band() != nullptr, !takes) << ratio << " " << offset;
    map.MouseUp(platform::MouseButton::Left, {}, at.X, at.Y);
  }
  map.Canvas().SetOutputResolution(screen);
  EXPECT_TRUE(shown.steps.empty());
  const platform::TPoint w1 = PixelOf(kWp1);
  map.MouseMove({}, w1.X + 3, w1.Y + 3);
  const scenario::TRoutePointRef second{scenario::TRouteMark::Waypoint, 1};
  EXPECT_EQ(tools.Drag().Hovered(), second);
  EXPECT_TRUE(overHandle);
  const auto boxes = Painted(platform::testing::DrawOp::Rectangle);
  EXPECT_TRUE(std::any_of(boxes.begin(), boxes.end(), [](const auto& call) {
    return call.State.CurrentBrush.Color == scenario::CaseColour(1) && call.Rect.Right - call.Rect.Left == 2 * 4 + 1;
  }));
  map.MouseMove({}, w1.X + 30, w1.Y + 30);
  EXPECT_FALSE(tools.Drag().Hovered() || overHandle);
  // Zoomed out until the two waypoints are 10 pixels apart: 4 from the second, 6 from the first.
  const auto apart = [&] { return std::hypot(PixelOf(kWp0).X - PixelOf(kWp1).X, PixelOf(kWp0).Y - PixelOf(kWp1).Y); };
  while (apart() > 10.5) map.Projection().SetAltitude(map.Projection().Altitude() * 21 / 20);
  ASSERT_GE(apart(), 8);
  const platform::TPoint a = PixelOf(kWp0), b = PixelOf(kWp1);
  const platform::TPoint between{b.X + static_cast<int>(std::lround((a.X - b.X) * 4 / apart())),
                                 b.Y + static_cast<int>(std::lround((a.Y - b.Y) * 4 / apart()))};
  map.MouseDown(platform::MouseButton::Left, {}, between.X, between.Y);
  EXPECT_EQ(tools.Drag().Hovered(), second);
  map.MouseUp(platform::MouseButton::Left, {}, between.X, between.Y);
}

// Over a waypoint the hover text gives its line and leg, over a leg both its lines; nothing off
// the route.
TEST_F(MapToolsTest, HoverTextTellsTheLineAndTheLeg) {
  ShowForceA1();
  const auto tip = [&](platform::TPoint at) { return RouteTooltipAt(shown, map, regional, at.X, at.Y).toStdString(); };
  EXPECT_EQ(tip(PixelOf(kWp1)).rfind("WP=3400N 02500E\nLeg: ", 0), 0u) << tip(PixelOf(kWp1));
  EXPECT_EQ(tip(PixelOf(kLegMiddle)).rfind("Leg from WP=3300N 02700E to WP=3400N 02500E\nLeg: ", 0), 0u) << tip(PixelOf(kLegMiddle));
  EXPECT_EQ(tip({PixelOf(kWp1).X + 40, PixelOf(kWp1).Y + 40}), "");
}

TEST_F(MapToolsTest, ShiftClickOnALegInsertsAWaypointBetweenItsLines) {
  ShowForceA1();
  const platform::TPoint at = PixelOf(kLegMiddle);
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

// The wheel zooms about the cursor by whole notches, finer with Ctrl (what is short of a notch
// waits for the next turn); an arrow turns the globe by a tenth of the window; the zoom to a
// force leaves a tenth of the window free on every side of its routes and fills the rest in one
// direction.
TEST_F(MapToolsTest, WheelZoomsAboutTheCursorArrowsTurnZoomToAForceLeavesATenthFree) {
  int rest = 0;
  for (const auto& [x, y, delta, ctrl, step] : {std::tuple{120, 90, 120, false, 0.8}, {250, 150, -120, true, 1.05},
                                                {400, 300, 60, false, 1.0}, {400, 300, 60, false, 0.8}}) {
    const TGeoPoint under = PointAt({x, y});
    const std::int32_t altitude = map.Projection().Altitude();
    WheelZoom(map, {.Ctrl = ctrl}, delta, x, y, rest);
    EXPECT_NEAR(map.Projection().Altitude(), altitude * step, 1.0) << delta;
    EXPECT_LE(std::abs(PixelOf(under).X - x) + std::abs(PixelOf(under).Y - y), 2) << delta;
  }
  const TGeoPoint east = PointAt({400 + 80, 300});
  EXPECT_TRUE(PanByArrowKey(map, platform::ViewKey::Right));
  EXPECT_LE(std::abs(PixelOf(east).X - 400) + std::abs(PixelOf(east).Y - 300), 4);
  EXPECT_FALSE(PanByArrowKey(map, platform::ViewKey::Home));
  ShowForceA1();
  map.LocateToLL(-60 * fixtures::kDegree, 0);
  ZoomToForce(map, nullptr, shown.cases);
  int left = 800, right = 0, top = 600, bottom = 0;
  for (const TGeoPoint& point : scenario::ForceRoutePoints(nullptr, shown.cases)) {
    const platform::TPoint xy = PixelOf(point);
    left = std::min(left, xy.X), right = std::max(right, xy.X), top = std::min(top, xy.Y), bottom = std::max(bottom, xy.Y);
  }
  const std::string box = std::to_string(left) + " " + std::to_string(right) + " " + std::to_string(top) + " " + std::to_string(bottom);
  EXPECT_TRUE(left >= 78 && right <= 722 && top >= 58 && bottom <= 542) << box;
  EXPECT_TRUE((left <= 83 && right >= 717) || (top <= 63 && bottom >= 537)) << box;
}

}  // namespace
}  // namespace editor
