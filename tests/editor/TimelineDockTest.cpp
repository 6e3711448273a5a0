// View > Timeline: the dock's command, its events model and filters, the slider's frame on the
// map, the double-click on an event and the computation after edits.
#include <gtest/gtest.h>

#include <QSlider>
#include <QTest>
#include <algorithm>

#include "scenario/ScenarioLayers.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeLayer.h"
#include "editor/TimelineDock.h"
#include "editor/TimelineModel.h"
#include "globe/view/GlobeProjection.h"
#include "platform/DateTime.h"
#include "platform/testing/RecordingDrawingSurface.h"
#include "scenario/TimelineRoute.h"
#include "tests/editor/CreteWindowFixture.h"

namespace editor {
namespace {

using fixtures::NorthEast;
using scenario::TEventKind;
using scenario::TEventPlace;
using scenario::TTimelineEvent;

// Four events from 1941-05-20 06:00: A (Axis) departs at once and arrives at 08:00, B (Allied)
// enters a strike range at 07:30 and leaves it at 09:20.
TEST(TimelineModelTest, RowsInTimeOrderFilteredByForceSideAndArea)
{
  const globe::TGeoPoint at;
  std::vector<TTimelineEvent> events{
      {"A", 0, 1, 0, TEventKind::Depart, TEventPlace::Start, "", at, scenario::dpDay},
      {"B", 1, 2, 90, TEventKind::Enter, TEventPlace::Strike, "Maleme", at, scenario::dpNight},
      {"A", 0, 1, 120, TEventKind::Arrive, TEventPlace::Waypoint, "WP=3700N 02400E", at, scenario::dpTwilight},
      {"B", 1, 2, 200, TEventKind::Leave, TEventPlace::Strike, "Maleme", at, scenario::dpNone}};
  TTimelineModel model;
  model.SetEvents(events, platform::EncodeDate(1941, 5, 20) + 0.25);
  ASSERT_EQ(model.rowCount(), 4);
  const auto cell = [&](int row, int column) { return model.index(row, column).data().toString(); };
  EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), "Event");
  EXPECT_EQ(cell(1, 0), "200730");
  EXPECT_EQ(cell(1, 1), "B");
  EXPECT_EQ(cell(1, 2), "2");
  EXPECT_EQ(cell(1, 3), "enters strike range of Maleme");
  EXPECT_EQ(cell(1, 4), "night");
  EXPECT_EQ(cell(3, 0), "200920");
  EXPECT_EQ(cell(3, 4), "");

  const auto minutes = [&] {
    std::vector<std::int64_t> shown;
    for (int row = 0; row < model.rowCount(); ++row) shown.push_back(model.EventAt(row)->Minute);
    return shown;
  };
  const struct {
    TTimelineFilter filter;
    std::vector<std::int64_t> minutes;
  } rows[] = {
      {{"A", {}, {}}, {0, 120}},
      {{{}, 1, {}}, {90, 200}},
      {{{}, {}, TEventPlace::Strike}, {90, 200}},
      {{{}, 0, TEventPlace::Waypoint}, {120}},
      {{"A", {}, TEventPlace::Strike}, {}},
      {{}, {0, 90, 120, 200}},
  };
  for (const auto& row : rows) {
    model.SetFilter(row.filter);
    EXPECT_EQ(minutes(), row.minutes) << row.filter.Force.toStdString();
  }
  EXPECT_EQ(model.EventAt(4), nullptr);
}

// The Crete window, loaded and shown.
class TimelineDockTest : public fixtures::ShownCreteWindowTest {
 protected:
  TdkTimeline& Dock() const { return *Child<TdkTimeline>("dkTimeline"); }
  QAction& Command() const { return *window->Actions()[TCommand::Timeline]; }
  void ShowDock() {
    if (!Dock().isVisible()) Command().trigger();
    QCoreApplication::processEvents();
    ASSERT_TRUE(Dock().isVisible());
  }
  const scenario::TCaseVoyage* Played(const std::string& force) const {
    const auto& voyages = Dock().Frame().Voyages;
    const auto found = std::find_if(voyages.begin(), voyages.end(), [&](const auto& v) { return v.Force == force; });
    return found == voyages.end() ? nullptr : &*found;
  }
};

TEST_F(TimelineDockTest, ViewTimelineShowsAndHidesTheDock)
{
  const QList<QAction*> view = Child<QMenu>("View1")->actions();
  EXPECT_TRUE(view.contains(&Command()));
  EXPECT_EQ(Command().objectName(), "Timeline1");
  EXPECT_FALSE(Dock().isVisible());
  Command().trigger();
  EXPECT_TRUE(Dock().isVisible());
  EXPECT_TRUE(Command().isChecked());
  EXPECT_GT(Dock().Model().rowCount(), 0);
  // The dock's marks name the forces, so the force marks' own titles are off meanwhile.
  const globe::TGlobeLayer* forces = window->GlobeMap().LayerStore().LayerByName(scenario::kTrackingLayer);
  ASSERT_NE(forces, nullptr);
  EXPECT_FALSE(forces->ShowTitles());
  Dock().close();  // the dock's own close button
  EXPECT_FALSE(Command().isChecked());
  EXPECT_TRUE(forces->ShowTitles());
  Command().trigger();
  Command().trigger();
  EXPECT_FALSE(Dock().isVisible());
}

// Each force sails the case the load drew for it (the selected one its shown case), as the headless voyage of that case; the
// slider runs to the last arrival and the map shows a dot at each force's position.
TEST_F(TimelineDockTest, SliderTimeGivesTheHeadlessPositionsOnTheMap)
{
  ShowDock();
  const scenario::TScenarioState& state = window->Scenario();
  std::vector<std::pair<std::string, scenario::TVoyage>> expected;
  std::int64_t last = 0;
  const TCaseEditor& shown = window->CaseEditor();
  for (const scenario::TForce* force : state.ForceList) {
    const int played = force == shown.CurrentForce() ? shown.CurrentCase() : force->Mission ? force->Mission->ChosenCase : 0;
    for (const scenario::TTimelineRoute& route : scenario::ForceTimelineRoutes(state, *force)) {
      if (route.Case != played) continue;
      expected.emplace_back(force->Title(), scenario::TVoyage(route, force->CurrentSpeed));
      if (force->CurrentSpeed >= 1) last = std::max(last, expected.back().second.Legs().back().StartMinute +
                                                              expected.back().second.Legs().back().Minutes);
    }
  }
  ASSERT_GE(expected.size(), 3u);
  ASSERT_EQ(Dock().Frame().Voyages.size(), expected.size());
  EXPECT_EQ(Dock().slTime->maximum(), last);

  const int minute = Dock().slTime->maximum() / 3;
  Dock().slTime->setValue(minute);
  EXPECT_EQ(Dock().Minute(), minute);
  platform::testing::RecordingDrawingSurface surface{Child<QWidget>("Globe")->width(), Child<QWidget>("Globe")->height()};
  window->GlobeMap().Paint(surface);
  const auto dots = surface.Calls(platform::testing::DrawOp::Ellipse);
  int seen = 0;
  for (const auto& [name, voyage] : expected) {
    const scenario::TCaseVoyage* played = Played(name);
    ASSERT_NE(played, nullptr) << name;
    const globe::TGeoPoint at = voyage.PositionAt(minute).Point;
    EXPECT_EQ(played->Voyage.PositionAt(Dock().Minute()).Point, at) << name;
    platform::TPoint xy;
    if (!window->GlobeMap().Projection().PointLLToDeviceXY(at, xy)) continue;
    ++seen;
    EXPECT_TRUE(std::any_of(dots.begin(), dots.end(), [&](const auto& dot) {
      return std::abs((dot.Rect.Left + dot.Rect.Right - 1) / 2 - xy.X) <= 1 &&
             std::abs((dot.Rect.Top + dot.Rect.Bottom - 1) / 2 - xy.Y) <= 1;
    })) << name;
  }
  EXPECT_GT(seen, 0);
}

TEST_F(TimelineDockTest, DoubleClickOnAnEventSetsItsTimeAndSelectsItsForce)
{
  ShowDock();
  const TTimelineModel& model = Dock().Model();
  int row = 0;
  while (row < model.rowCount() && (model.EventAt(row)->Minute == 0 || model.EventAt(row)->Force == "Lupo convoy")) ++row;
  ASSERT_LT(row, model.rowCount());
  const TTimelineEvent event = *model.EventAt(row);
  QTreeView& list = *Dock().tvEvents;
  list.scrollTo(model.index(row, 0));
  const QPoint at = list.visualRect(model.index(row, 0)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);  // the toolkit's order: a click, then the double-click
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
  ASSERT_NE(window->CaseEditor().CurrentForce(), nullptr);
  EXPECT_EQ(window->CaseEditor().CurrentForce()->Title(), event.Force);
  EXPECT_EQ(Dock().Minute(), event.Minute);
  EXPECT_EQ(Dock().Frame().SelectedForce, event.Force);
}

// The selected force plays its shown tab; an edit of its lines is sailed at once while the dock
// shows, and at its next showing when hidden.
TEST_F(TimelineDockTest, SelectedForcePlaysItsShownCaseEditsAreSailedWhileTheDockShows)
{
  ShowDock();
  SelectForce("Lupo convoy");
  SelectTab(1);
  ASSERT_NE(Played("Lupo convoy"), nullptr);
  EXPECT_EQ(Played("Lupo convoy")->Route.Case, 2);
  SelectTab(0);
  EXPECT_EQ(Played("Lupo convoy")->Route.Case, 1);
  const auto passes = [&](const globe::TGeoPoint& point) {
    const auto& places = Played("Lupo convoy")->Route.Places;
    return std::any_of(places.begin(), places.end(), [&](const auto& place) { return place.Point == point; });
  };
  EditLupoWaypoint();
  EXPECT_TRUE(passes(NorthEast(37, 5, 24, 10)));
  Command().trigger();  // hidden: the undo is not sailed until the dock shows again
  window->Actions()[TCommand::Undo]->trigger();
  EXPECT_TRUE(passes(NorthEast(37, 5, 24, 10)));
  ShowDock();
  EXPECT_FALSE(passes(NorthEast(37, 5, 24, 10)));
  EXPECT_TRUE(passes(NorthEast(37, 0, 24, 0)));
}

}  // namespace
}  // namespace editor
