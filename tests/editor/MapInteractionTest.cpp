// The main window's map interaction driven through the real map window: readouts, measuring,
// the position log, the origin cross and the view's own zoom drag.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTreeWidget>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "editor/ApplicationCursor.h"
#include "editor/EditMain.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/qt/QtViewWidget.h"
#include "platform/testing/RecordingDrawingSurface.h"
#include "platform/testing/RecordingViewHost.h"
#include "platform/testing/ScriptedDialogs.h"
#include "scenario/Force.h"
#include "scenario/PositionText.h"

#include "tests/editor/MapWindowFixture.h"

namespace editor {
namespace {

namespace fs = std::filesystem;
using globe::TGeoPoint;
using maptest::MapInteractionTest;
using platform::testing::ScriptedDialogs;

// With the globe turned to 0 N 0 E, the row through that point is the equator and its column
// the prime meridian: a cursor right of the origin lies due east, above it due north.
TEST_F(MapInteractionTest, DoubleClickMeasuresDistanceAndTrueBearingFromTheOrigin) {
  Map().LocateToLL(0, 0);
  const QPoint origin = PixelOf(TGeoPoint(0, 0));
  DoubleClick(origin);
  ASSERT_TRUE(window->Measuring);
  EXPECT_EQ(window->MouseMode, mmIdle);
  const TGeoPoint originPoint = PointAt(origin);
  EXPECT_EQ(window->MeasureOrigin.LongX, originPoint.LongX);
  EXPECT_EQ(window->MeasureOrigin.LatY, originPoint.LatY);
  EXPECT_EQ(Panel(1).toStdString(), "Origin: " + scenario::FormatPosition(originPoint, true));

  Move(origin);
  EXPECT_EQ(Panel(2).toStdString(), Readout("0", "0"));
  Move(origin + QPoint(120, 0));
  EXPECT_TRUE(Panel(2).endsWith(QString::fromStdString(" Bearing: " + Fixed("90") + " deg"))) << Panel(2).toStdString();
  Move(origin - QPoint(120, 0));
  EXPECT_TRUE(Panel(2).endsWith(QString::fromStdString(" Bearing: " + Fixed("270") + " deg"))) << Panel(2).toStdString();
  Move(origin - QPoint(0, 120));
  EXPECT_TRUE(Panel(2).endsWith(QString::fromStdString(" Bearing: " + Fixed("0") + " deg"))) << Panel(2).toStdString();
  // The distance is the ellipsoid's: on the equator a degree of longitude is about 60.1 Nm.
  const TGeoPoint east = PointAt(origin + QPoint(120, 0));
  Move(origin + QPoint(120, 0));
  const double miles = Panel(2).section(' ', 3, 3).replace(QString::fromStdString(window->Regional().decimalSeparator), ".").toDouble();
  EXPECT_NEAR(miles, 60.11 * (east.LongX - originPoint.LongX) / 5'400'000.0, 0.3);

  // A plain click ends measuring; the readout is the position again.
  Click(origin + QPoint(30, 30));
  EXPECT_FALSE(window->Measuring);
  // The origin and the distance go with the measuring, before the cursor moves.
  EXPECT_TRUE(Panel(1).isEmpty());
  EXPECT_TRUE(Panel(2).isEmpty());
  Move(origin + QPoint(40, 30));
  EXPECT_TRUE(Panel(1).isEmpty());
  EXPECT_EQ(Panel(2).toStdString(), "  " + scenario::FormatPosition(PointAt(origin + QPoint(40, 30)), false));
  // Off the globe the readout stays.
  Map().Projection().SetScaleFactor(0);  // the whole globe: the window's corners are off it
  TGeoPoint off;
  ASSERT_FALSE(Map().DeviceXYToLL(1, 1, off));
  const QString before = Panel(2);
  Move(QPoint(1, 1));
  EXPECT_EQ(Panel(2), before);
}

TEST_F(MapInteractionTest, CtrlDoubleClickLogsThePositionWithoutMeasuring) {
  const QPoint at(window->Globe->width() / 2, window->Globe->height() / 2);
  DoubleClick(at, Qt::LeftButton, Qt::ControlModifier);
  EXPECT_FALSE(window->Measuring);
  EXPECT_TRUE(Panel(1).isEmpty());
  EXPECT_EQ(window->Memo1->toPlainText().toStdString(), "LL=" + scenario::FormatPosition(PointAt(at), false));
  // Other modifier combinations and other buttons neither measure nor log.
  DoubleClick(at, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier);
  DoubleClick(at, Qt::LeftButton, Qt::AltModifier);
  DoubleClick(at, Qt::RightButton);
  EXPECT_FALSE(window->Measuring);
  EXPECT_EQ(window->Memo1->toPlainText().count("LL="), 1);
  EXPECT_EQ(window->MouseMode, mmIdle);
}

TEST_F(MapInteractionTest, OriginCrossDrawnRedWhileMeasuringAndVisible) {
  const int w = window->Globe->width(), h = window->Globe->height();
  const auto redLines = [&] {
    platform::testing::RecordingDrawingSurface target{w, h};
    Map().RenderToCanvas(target, platform::TRect{0, 0, w, h}, false);
    std::vector<platform::testing::DrawCall> lines;
    for (const auto& call : target.Calls(platform::testing::DrawOp::Polyline))
      if (call.State.CurrentPen.Color == platform::clRed && call.State.CurrentPen.Width == 1) lines.push_back(call);
    return lines;
  };
  const auto before = redLines().size();  // red lines of the scenario itself
  const QPoint at(w / 2 + 10, h / 2 + 20);
  DoubleClick(at);
  ASSERT_TRUE(window->Measuring);
  const auto lines = redLines();
  ASSERT_EQ(lines.size(), before + 2);
  const auto& across = lines[lines.size() - 2].Points;
  const auto& down = lines.back().Points;
  ASSERT_EQ(across.size(), 2u);
  ASSERT_EQ(down.size(), 2u);
  // Centred where the origin projects: the clicked pixel, give or take the rounding.
  const QPoint centre = PixelOf(window->MeasureOrigin);
  EXPECT_LE((centre - at).manhattanLength(), 2);
  EXPECT_EQ(across[0], (platform::TPoint{centre.x() - 12, centre.y()}));
  EXPECT_EQ(across[1], (platform::TPoint{centre.x() + 12, centre.y()}));
  EXPECT_EQ(down[0], (platform::TPoint{centre.x(), centre.y() - 12}));
  EXPECT_EQ(down[1], (platform::TPoint{centre.x(), centre.y() + 12}));
  // An origin on the far side of the globe has no cross.
  const TGeoPoint origin = window->MeasureOrigin;
  window->MeasureOrigin = TGeoPoint(origin.LongX + 972'000'000, -origin.LatY);
  EXPECT_EQ(redLines().size(), before);
}

TEST_F(MapInteractionTest, LeftDragStillZoomsTheMap) {
  const long double scale = Map().Projection().ScaleFactor();
  const QPoint from(window->Globe->width() / 2 - 60, window->Globe->height() / 2 - 40);
  Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::NoModifier);
  const QPoint to = from + QPoint(120, 80);
  DragTo(to);
  Send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoModifier);
  EXPECT_GT(Map().Projection().ScaleFactor(), scale * 2);
  EXPECT_FALSE(window->Measuring);
}

// ---- Pick point ------------------------------------------------------------------------------

// Force A1 (AlliedShips.cfg), case 1: CASE1, FORMATIONHEADING=300, LOCATION=Alexandria, CWPI=0,
// WP=3300N 02700E, WP=3400N 02500E, WP=3500N 02250E; case 3 has DELAY=6 on its fourth line.
class PickPointTest : public MapInteractionTest {
 protected:
  void SetUp() override {
    MapInteractionTest::SetUp();
    SelectForce("Force A1");
    if (HasFatalFailure()) return;
    // Zoomed in on the point so that a pixel is a fraction of an arc minute.
    Map().LocateToLL(known.LongX, known.LatY);
    Map().Projection().SetAltitude(Map().Projection().Altitude() / 10);
  }
  void PickLine(int row) {
    window->lbPoints->setCurrentRow(row);
    window->Pickpoint1->trigger();
  }
  const platform::TextLines& AlliedLines() { return window->Scenario().SideLines[1]; }
  std::size_t CountOf(const std::string& line) {
    return static_cast<std::size_t>(std::count(AlliedLines().begin(), AlliedLines().end(), line));
  }

  // 34 30.5 N, 26 00.5 E: in the middle of the arc minutes 3430N 02600E.
  const TGeoPoint known = TGeoPoint::FromDegrees(26 + 0.5 / 60, 34 + 30.5 / 60);
};

TEST_F(PickPointTest, ClickGivesTheWaypointLineTheClickedPosition) {
  ASSERT_EQ(window->CaseListLine(4), "WP=3300N 02700E");
  PickLine(4);
  EXPECT_EQ(window->MouseMode, mmPickPoint);
  EXPECT_EQ(window->PickLine, 4);
  EXPECT_TRUE(CrossCursorShown());

  Click(PixelOf(known));
  EXPECT_EQ(window->CaseListLine(4), "WP=3430N 02600E");
  EXPECT_EQ(window->MouseMode, mmIdle);
  EXPECT_FALSE(CrossCursorShown());
  // Written back into the side's lines in place of the old one, and parsed into the route.
  EXPECT_TRUE(window->Scenario().Modified);
  EXPECT_EQ(CountOf("WP=3430N 02600E"), 1u);
  EXPECT_EQ(CountOf("WP=3300N 02700E"), 0u);
  const globe::TPointStore& route = window->Cases.CaseWaypoints[0];
  ASSERT_EQ(route.Count(), 3);
  EXPECT_EQ(route.Point(0).LatY, 34 * 5'400'000 + 30 * 90'000);
  EXPECT_EQ(route.Point(0).LongX, 26 * 5'400'000);
  // The selected line's mark on the map moves with it.
  EXPECT_EQ(window->SelectedPoint.LatY, route.Point(0).LatY);
  EXPECT_EQ(window->SelectedPoint.LongX, route.Point(0).LongX);
}

TEST_F(PickPointTest, LineOtherThanWaypointOrTargetBecomesAStartPosition) {
  window->tcCasesTabs->setCurrentIndex(2);
  ASSERT_EQ(window->CaseListLine(3), "DELAY=6");
  PickLine(3);
  Click(PixelOf(known));
  EXPECT_EQ(window->CaseListLine(3), "LL=3430N 02600E");
  EXPECT_EQ(window->Cases.CaseStart[2].LatY, 34 * 5'400'000 + 30 * 90'000);
  EXPECT_EQ(window->Cases.CaseStart[2].LongX, 26 * 5'400'000);
  EXPECT_EQ(window->Cases.CaseWaypoints[2].Count(), 2);
  EXPECT_EQ(window->SelectedPoint.LatY, 0);  // an "LL=" line marks no point
}

// The routes are drawn again at once with the new current case, even when the case list
// cannot be filled (here: no "ENDMISSION" after the force, which is reported).
TEST_F(PickPointTest, SelectingATabRedrawsTheRoutesWhateverTheCaseListFinds) {
  platform::TextLines& lines = window->Scenario().SideLines[1];
  lines.erase(std::remove(lines.begin(), lines.end(), std::string("ENDMISSION")), lines.end());
  platform::testing::RecordingViewHost host;
  Map().SetHost(&host);
  window->tcCasesTabs->setCurrentIndex(5);  // no "CASE6" either: the walk meets the file's end
  Map().SetHost(window->Globe);
  EXPECT_EQ(window->CurrentCase, 6);
  EXPECT_EQ(window->lbPoints->count(), 0);  // the case list stopped early
  EXPECT_GE(host.Invalidations, 1);
}

TEST_F(PickPointTest, PickOnAFormationHeadingLineIsUndoneToTheExactLine) {
  const platform::TextLines loaded = AlliedLines();
  ASSERT_EQ(window->CaseListLine(1), "FORMATIONHEADING=300");
  PickLine(1);
  Click(PixelOf(known));
  EXPECT_EQ(window->CaseListLine(1), "LL=3430N 02600E");
  window->Undo1->trigger();
  EXPECT_EQ(window->CaseListLine(1), "FORMATIONHEADING=300");
  EXPECT_EQ(AlliedLines(), loaded);
  EXPECT_EQ(window->Redo1->text(), "Redo Pick point for line 2 of Force A1 case 1");
  window->Redo1->trigger();
  EXPECT_EQ(window->CaseListLine(1), "LL=3430N 02600E");
}

TEST_F(PickPointTest, ClickOffTheGlobeEndsThePickWithoutAChange) {
  PickLine(4);
  Click(PixelOf(known), Qt::RightButton);  // other buttons leave the pick waiting
  EXPECT_EQ(window->MouseMode, mmPickPoint);
  Map().Projection().SetScaleFactor(0);  // the whole globe: the window's corners are off it
  TGeoPoint off;
  ASSERT_FALSE(Map().DeviceXYToLL(1, 1, off));
  Click(QPoint(1, 1));
  EXPECT_EQ(window->MouseMode, mmIdle);
  EXPECT_FALSE(CrossCursorShown());
  EXPECT_EQ(window->CaseListLine(4), "WP=3300N 02700E");
  EXPECT_FALSE(window->Scenario().Modified);
}

TEST_F(PickPointTest, TabChangedMeanwhileLeavesBothCasesAsTheyWere) {
  PickLine(4);
  window->tcCasesTabs->setCurrentIndex(1);  // case 2 has a line 4 too
  const std::string other = window->CaseListLine(4);
  Click(PixelOf(known));
  EXPECT_EQ(window->MouseMode, mmIdle);
  EXPECT_FALSE(CrossCursorShown());
  EXPECT_EQ(window->CaseListLine(4), other);
  EXPECT_EQ(CountOf("WP=3300N 02700E"), 1u);
  EXPECT_FALSE(window->Scenario().Modified);
}

TEST_F(PickPointTest, WithoutASelectedLinePickPointWaitsForNothing) {
  window->lbPoints->clearSelection();
  window->Pickpoint1->trigger();
  EXPECT_EQ(window->MouseMode, mmIdle);
  EXPECT_FALSE(CrossCursorShown());
}

}  // namespace
}  // namespace editor
