#pragma once
// View > Timeline: a dock that plays the dry run. A slider sets the time from the scenario start
// to the last arrival (play and pause move it at a chosen speed); the list shows the events,
// filtered by force, side and area, and a double-click on one sets its time and asks for its
// force to be selected. The map draws the frame (scenario/TimelineMarks.h) in its render event.
//
// Each force plays the case the load chose for it, the selected force its shown case tab. The
// timeline is computed again when the scenario, its lines or the selection change, but only
// while the dock shows (otherwise at its next showing).
#include <QDockWidget>
#include <functional>

#include "scenario/TimelineMarks.h"

class QAction;
class QComboBox;
class QLabel;
class QSlider;
class QTimer;
class QToolButton;
class QTreeView;

namespace globe {
class TCustomVoduz4;
}
namespace scenario {
class TForce;
class TScenarioState;
}

namespace editor {

class TTimelineModel;

// What the timeline is computed from.
struct TTimelineSource {
  const scenario::TScenarioState* State = nullptr;
  globe::TCustomVoduz4* Globe = nullptr;
  const scenario::TForce* Selected = nullptr;
  int ShownCase = 1;
};

class TdkTimeline : public QDockWidget {
  Q_OBJECT
 public:
  explicit TdkTimeline(QWidget* parent = nullptr);
  ~TdkTimeline() override;

  // Where the scenario and selection are read at each computation.
  void SetSource(std::function<TTimelineSource()> source) { source_ = std::move(source); }
  // The command that shows and hides the dock (checked while it shows).
  void ConnectAction(QAction* action);
  // The scenario or its lines changed: computed again now when the dock shows, else later.
  void Invalidate();
  // The selection now shown; computed again when it differs from the last one.
  void Follow(const scenario::TForce* selected, int shownCase);

  // The frame the map draws: the played voyages, the areas and the slider's minute.
  const scenario::TTimelineFrame& Frame() const { return frame_; }
  std::int64_t Minute() const { return frame_.Minute; }
  // Moves the slider (clamped to its range).
  void SetMinute(std::int64_t minute);
  const TTimelineModel& Model() const { return *model_; }

  QSlider* slTime = nullptr;
  QLabel* lbTime = nullptr;
  QToolButton* btPlay = nullptr;
  QComboBox* cbSpeed = nullptr;
  QComboBox* cbForce = nullptr;
  QComboBox* cbSide = nullptr;
  QComboBox* cbArea = nullptr;
  QTreeView* tvEvents = nullptr;

 signals:
  // The frame changed (time, voyages or selection): the map draws it again.
  void FrameChanged();
  // An event was double-clicked: its force should be selected.
  void ForceActivated(const QString& force);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Recompute();
  void FillForceFilter();
  void ApplyFilter();
  void ShowTime();
  // The list scrolled to the first event at or after the slider's time.
  void ScrollToTime();
  void PlayStep();
  void ActivateRow(int row);

  std::function<TTimelineSource()> source_;
  TTimelineModel* model_ = nullptr;
  QTimer* playTimer_ = nullptr;
  scenario::TTimelineFrame frame_;
  double start_ = 0;
  bool stale_ = true;
  const scenario::TForce* followed_ = nullptr;
  int followedCase_ = 0;
};

}  // namespace editor
