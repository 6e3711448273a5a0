// View > Timeline: the events model and its filters, the dock on its own (what it plays, when it
// computes, the double-click), and View > Timeline in the window end to end.
#include <gtest/gtest.h>

#include <QSlider>
#include <QTest>
#include <algorithm>
#include <filesystem>

#include "scenario/ScenarioLayers.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeLayer.h"
#include "editor/TimelineDock.h"
#include "editor/TimelineModel.h"
#include "globe/view/GlobeProjection.h"
#include "platform/DateTime.h"
#include "platform/LocalFileSystem.h"
#include "platform/testing/RecordingDrawingSurface.h"
#include "scenario/LoadCheck.h"
#include "scenario/Timeline.h"
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

// The dock on its own, playing the Crete demo as the load leaves it; the selection is the source's.
class TimelineDockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    check.Run(fixtures::kCrete.string());
    std::filesystem::current_path(startDir);  // the load moves into the scenario directory
    ASSERT_EQ(check.Messages(), std::vector<std::string>{});
    command.setCheckable(true);
    dock.ConnectAction(&command);
    dock.SetSource([this] { return TTimelineSource{&check.State(), &check.Globe(), selected, shownCase}; });
  }
  // The forces and cases the dock plays.
  static std::vector<std::pair<std::string, int>> Cases(const std::vector<scenario::TCaseVoyage>& voyages) {
    std::vector<std::pair<std::string, int>> cases;
    for (const auto& voyage : voyages) cases.emplace_back(voyage.Force, voyage.Route.Case);
    return cases;
  }
  const scenario::TForce* Force(const std::string& title) {
    for (const scenario::TForce* force : check.State().ForceList)
      if (force->Title() == title) return force;
    return nullptr;
  }
  std::filesystem::path startDir = std::filesystem::current_path();
  platform::LocalFileSystem files;
  scenario::TLoadCheck check{files, platform::RegionalSettings{}, fixtures::kProgramDir};
  QAction command;
  TdkTimeline dock;
  const scenario::TForce* selected = nullptr;
  int shownCase = 1;
};

// Computed at its showing: each force sails the case the load drew for it, the selected force its
// shown case, the slider runs to the last arrival. A new selection or an edit is computed at once
// while the dock shows, at its next showing while hidden; closed, the command is unchecked.
TEST_F(TimelineDockTest, PlaysTheLoadsCasesAndTheSelectedShownCaseComputedWhileItShows) {
  EXPECT_TRUE(dock.Frame().Voyages.empty());
  command.trigger();
  ASSERT_TRUE(dock.isVisible());
  EXPECT_TRUE(command.isChecked());
  const auto loaded = scenario::PlayedVoyages(check.State(), nullptr, 1);
  ASSERT_GE(loaded.size(), 3u);
  EXPECT_EQ(Cases(dock.Frame().Voyages), Cases(loaded));
  EXPECT_EQ(dock.slTime->maximum(), scenario::LastArrivalMinute(loaded));
  EXPECT_GT(dock.Model().rowCount(), 0);
  dock.slTime->setValue(dock.slTime->maximum() / 3);
  EXPECT_EQ(dock.Minute(), dock.slTime->maximum() / 3);
  dock.SetMinute(-5);  // clamped to the slider's range
  EXPECT_EQ(dock.Minute(), 0);

  selected = Force("Lupo convoy");
  ASSERT_NE(selected, nullptr);
  shownCase = 2;
  dock.Follow(selected, 2);
  EXPECT_EQ(Cases(dock.Frame().Voyages), Cases(scenario::PlayedVoyages(check.State(), selected, 2)));
  EXPECT_EQ(dock.Frame().SelectedForce, "Lupo convoy");
  command.trigger();
  ASSERT_FALSE(dock.isVisible());
  shownCase = 1;
  dock.Follow(selected, 1);
  EXPECT_EQ(Cases(dock.Frame().Voyages), Cases(scenario::PlayedVoyages(check.State(), selected, 2)));
  dock.show();
  EXPECT_EQ(Cases(dock.Frame().Voyages), Cases(scenario::PlayedVoyages(check.State(), selected, 1)));
  dock.close();  // the dock's own close button
  EXPECT_FALSE(command.isChecked());
}

// A double-click on an event sets its time and asks for its force.
TEST_F(TimelineDockTest, DoubleClickOnAnEventSetsItsTimeAndAsksForItsForce) {
  dock.show();
  const TTimelineModel& model = dock.Model();
  int row = 0;
  while (row < model.rowCount() && model.EventAt(row)->Minute == 0) ++row;
  ASSERT_LT(row, model.rowCount());
  const TTimelineEvent event = *model.EventAt(row);
  QString asked;
  QObject::connect(&dock, &TdkTimeline::ForceActivated, [&](const QString& force) { asked = force; });
  QTreeView& list = *dock.tvEvents;
  list.scrollTo(model.index(row, 0));
  const QPoint at = list.visualRect(model.index(row, 0)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);  // the toolkit's order: a click, then the double-click
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(asked.toStdString(), event.Force);
  EXPECT_EQ(dock.Minute(), event.Minute);
}

// The Crete window, loaded and shown.
class TimelineWindowTest : public fixtures::ShownCreteWindowTest {
 protected:
  TdkTimeline& Dock() const { return *Child<TdkTimeline>("dkTimeline"); }
  QAction& Command() const { return *window->Actions()[TCommand::Timeline]; }
  const scenario::TCaseVoyage* Played(const std::string& force) const {
    const auto& voyages = Dock().Frame().Voyages;
    const auto found = std::find_if(voyages.begin(), voyages.end(), [&](const auto& v) { return v.Force == force; });
    return found == voyages.end() ? nullptr : &*found;
  }
};

// View > Timeline shows the dock (the force marks' own titles off meanwhile, as the dock's marks
// name the forces); the map shows a dot at each force's position at the slider's time; the
// selected force plays its shown tab and its edits; a double-click on an event selects its force.
TEST_F(TimelineWindowTest, ViewTimelineShowsTheDryRunOnTheMapAndSelectsTheForceOfAnEvent)
{
  EXPECT_TRUE(Child<QMenu>("View1")->actions().contains(&Command()));
  EXPECT_EQ(Command().objectName(), "Timeline1");
  const globe::TGlobeLayer* forces = window->GlobeMap().LayerStore().LayerByName(scenario::kTrackingLayer);
  ASSERT_NE(forces, nullptr);
  EXPECT_TRUE(forces->ShowTitles() && !Dock().isVisible());
  Command().trigger();
  QCoreApplication::processEvents();
  ASSERT_TRUE(Dock().isVisible());
  EXPECT_FALSE(forces->ShowTitles());

  Dock().slTime->setValue(Dock().slTime->maximum() / 3);
  platform::testing::RecordingDrawingSurface surface{Child<QWidget>("Globe")->width(), Child<QWidget>("Globe")->height()};
  window->GlobeMap().Paint(surface);
  const auto dots = surface.Calls(platform::testing::DrawOp::Ellipse);
  int seen = 0;
  for (const scenario::TCaseVoyage& played : Dock().Frame().Voyages) {
    platform::TPoint xy;
    if (!window->GlobeMap().Projection().PointLLToDeviceXY(played.Voyage.PositionAt(Dock().Minute()).Point, xy)) continue;
    ++seen;
    EXPECT_TRUE(std::any_of(dots.begin(), dots.end(), [&](const auto& dot) {
      return std::abs((dot.Rect.Left + dot.Rect.Right - 1) / 2 - xy.X) <= 1 &&
             std::abs((dot.Rect.Top + dot.Rect.Bottom - 1) / 2 - xy.Y) <= 1;
    })) << played.Force;
  }
  EXPECT_GT(seen, 0);

  SelectForce("Lupo convoy");
  SelectTab(1);
  ASSERT_NE(Played("Lupo convoy"), nullptr);
  EXPECT_EQ(Played("Lupo convoy")->Route.Case, 2);
  SelectTab(0);
  EditLupoWaypoint();
  const auto& places = Played("Lupo convoy")->Route.Places;
  EXPECT_TRUE(std::any_of(places.begin(), places.end(), [](const auto& place) { return place.Point == NorthEast(37, 5, 24, 10); }));

  const TTimelineModel& model = Dock().Model();
  int row = 0;
  while (row < model.rowCount() && (model.EventAt(row)->Minute == 0 || model.EventAt(row)->Force == "Lupo convoy")) ++row;
  ASSERT_LT(row, model.rowCount());
  const TTimelineEvent event = *model.EventAt(row);
  Dock().tvEvents->scrollTo(model.index(row, 0));
  const QPoint at = Dock().tvEvents->visualRect(model.index(row, 0)).center();
  QTest::mouseClick(Dock().tvEvents->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(Dock().tvEvents->viewport(), Qt::LeftButton, {}, at);
  ASSERT_NE(window->CaseEditor().CurrentForce(), nullptr);
  EXPECT_EQ(window->CaseEditor().CurrentForce()->Title(), event.Force);
  EXPECT_EQ(Dock().Frame().SelectedForce, event.Force);
  Command().trigger();
  EXPECT_FALSE(Dock().isVisible());
  EXPECT_TRUE(forces->ShowTitles());
}

}  // namespace
}  // namespace editor
