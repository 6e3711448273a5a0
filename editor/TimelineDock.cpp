#include "editor/TimelineDock.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "editor/TimelineModel.h"
#include "scenario/Force.h"
#include "scenario/ScenarioState.h"
#include "scenario/SideColors.h"

namespace editor {

namespace {

// The clock of play: this many steps a second.
constexpr int kPlayInterval = 50;
constexpr int kStepsPerSecond = 1000 / kPlayInterval;
constexpr int kMinutesPerHour = 60;

const struct {
  const char* Text;
  int MinutesPerSecond;
} kSpeeds[] = {{"1 hour a second", 60}, {"6 hours a second", 360}, {"1 day a second", 1440}};

const struct {
  const char* Text;
  scenario::TEventPlace Place;
} kAreas[] = {{"Strike ranges", scenario::TEventPlace::Strike},  {"Reconnaissance sectors", scenario::TEventPlace::Recon},
              {"Minefields", scenario::TEventPlace::Minefield},   {"Submarine zones", scenario::TEventPlace::Subzone},
              {"Waypoints", scenario::TEventPlace::Waypoint},     {"Targets", scenario::TEventPlace::Target},
              {"Departures", scenario::TEventPlace::Start}};

QComboBox* Combo(QWidget* parent, const char* name)
{
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  return combo;
}

}  // namespace

TdkTimeline::TdkTimeline(QWidget* parent) : QDockWidget("Timeline", parent)
{
  setObjectName("dkTimeline");
  auto* body = new QWidget(this);
  auto* column = new QVBoxLayout(body);
  column->setContentsMargins(4, 4, 4, 4);

  auto* clock = new QHBoxLayout;
  btPlay = new QToolButton(body);
  btPlay->setObjectName("btPlay");
  btPlay->setText("Play");
  btPlay->setCheckable(true);
  cbSpeed = Combo(body, "cbSpeed");
  for (const auto& speed : kSpeeds) cbSpeed->addItem(speed.Text, speed.MinutesPerSecond);
  slTime = new QSlider(Qt::Horizontal, body);
  slTime->setObjectName("slTime");
  slTime->setSingleStep(kMinutesPerHour);
  slTime->setPageStep(6 * kMinutesPerHour);
  lbTime = new QLabel(body);
  lbTime->setObjectName("lbTime");
  lbTime->setMinimumWidth(lbTime->fontMetrics().horizontalAdvance("000000 +00 h") + 8);
  clock->addWidget(btPlay);
  clock->addWidget(cbSpeed);
  clock->addWidget(slTime, 1);
  clock->addWidget(lbTime);
  column->addLayout(clock);

  auto* filters = new QHBoxLayout;
  cbForce = Combo(body, "cbForce");
  cbSide = Combo(body, "cbSide");
  cbSide->addItem("Both sides");
  for (const std::int32_t side : {0, 1}) cbSide->addItem(QString::fromStdString(scenario::SideName(side)), side);
  cbArea = Combo(body, "cbArea");
  cbArea->addItem("Every event");
  for (const auto& area : kAreas) cbArea->addItem(area.Text, static_cast<int>(area.Place));
  for (QComboBox* combo : {cbForce, cbSide, cbArea}) filters->addWidget(combo);
  filters->addStretch(1);
  column->addLayout(filters);

  model_ = new TTimelineModel(this);
  tvEvents = new QTreeView(body);
  tvEvents->setObjectName("tvEvents");
  tvEvents->setRootIsDecorated(false);
  tvEvents->setUniformRowHeights(true);
  tvEvents->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tvEvents->setModel(model_);
  tvEvents->header()->setStretchLastSection(false);
  tvEvents->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  column->addWidget(tvEvents, 1);
  setWidget(body);

  playTimer_ = new QTimer(this);
  playTimer_->setInterval(kPlayInterval);
  connect(playTimer_, &QTimer::timeout, this, [this] { PlayStep(); });
  connect(btPlay, &QToolButton::toggled, this, [this](bool on) {
    btPlay->setText(on ? "Pause" : "Play");
    if (on && slTime->value() >= slTime->maximum()) slTime->setValue(slTime->minimum());
    on ? playTimer_->start() : playTimer_->stop();
  });
  connect(slTime, &QSlider::valueChanged, this, [this](int minute) {
    frame_.Minute = minute;
    ShowTime();
    ScrollToTime();
    emit FrameChanged();
  });
  for (QComboBox* combo : {cbForce, cbSide, cbArea})
    connect(combo, &QComboBox::currentIndexChanged, this, [this] { ApplyFilter(); });
  connect(tvEvents, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) { ActivateRow(index.row()); });
  connect(tvEvents, &QAbstractItemView::activated, this, [this](const QModelIndex& index) { ActivateRow(index.row()); });
  ShowTime();
}

TdkTimeline::~TdkTimeline() = default;

void TdkTimeline::ConnectAction(QAction* action)
{
  connect(action, &QAction::triggered, this, &QDockWidget::setVisible);
  connect(toggleViewAction(), &QAction::toggled, action, &QAction::setChecked);
  connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (!visible) btPlay->setChecked(false);
    emit FrameChanged();
  });
}

void TdkTimeline::Invalidate()
{
  stale_ = true;
  if (isVisible()) Recompute();
}

void TdkTimeline::Follow(const scenario::TForce* selected, int shownCase)
{
  if (selected == followed_ && shownCase == followedCase_) return;
  followed_ = selected;
  followedCase_ = shownCase;
  Invalidate();
}

void TdkTimeline::SetMinute(std::int64_t minute)
{
  slTime->setValue(static_cast<int>(std::clamp<std::int64_t>(minute, slTime->minimum(), slTime->maximum())));
}

void TdkTimeline::showEvent(QShowEvent* event)
{
  QDockWidget::showEvent(event);
  if (stale_) Recompute();
}

void TdkTimeline::Recompute()
{
  stale_ = false;
  const TTimelineSource source = source_ ? source_() : TTimelineSource{};
  frame_.Voyages.clear();
  frame_.Areas.clear();
  frame_.SelectedForce.clear();
  std::vector<scenario::TTimelineEvent> events;
  start_ = 0;
  if (source.State != nullptr && source.Globe != nullptr && !source.State->ScenarioDir.empty()) {
    start_ = source.State->StartTime;
    frame_.Voyages = scenario::PlayedVoyages(*source.State, source.Selected, source.ShownCase);
    frame_.Areas = scenario::ExposureAreas(source.State->BaseList, *source.Globe);
    if (source.Selected != nullptr) frame_.SelectedForce = source.Selected->Title();
    events = scenario::VoyagesTimeline(frame_.Voyages, frame_.Areas, start_);
  }
  model_->SetEvents(std::move(events), start_);
  FillForceFilter();
  const std::int64_t last = scenario::LastArrivalMinute(frame_.Voyages);
  {
    const QSignalBlocker quiet(slTime);  // one redraw below, not one per range change
    slTime->setRange(0, static_cast<int>(std::min<std::int64_t>(last, std::numeric_limits<int>::max())));
    frame_.Minute = slTime->value();
  }
  ShowTime();
  emit FrameChanged();
}

void TdkTimeline::FillForceFilter()
{
  const QString chosen = cbForce->currentIndex() > 0 ? cbForce->currentText() : QString();
  const QSignalBlocker quiet(cbForce);
  cbForce->clear();
  cbForce->addItem("Every force");
  for (const scenario::TCaseVoyage& voyage : frame_.Voyages) {
    const QString name = QString::fromStdString(voyage.Force);
    if (cbForce->findText(name) < 0) cbForce->addItem(name);
  }
  cbForce->setCurrentIndex(std::max(0, cbForce->findText(chosen)));
  ApplyFilter();
}

void TdkTimeline::ApplyFilter()
{
  TTimelineFilter filter;
  if (cbForce->currentIndex() > 0) filter.Force = cbForce->currentText();
  if (cbSide->currentIndex() > 0) filter.Side = cbSide->currentData().toInt();
  if (cbArea->currentIndex() > 0) filter.Place = static_cast<scenario::TEventPlace>(cbArea->currentData().toInt());
  model_->SetFilter(std::move(filter));
}

void TdkTimeline::ShowTime()
{
  const std::int64_t minute = frame_.Minute;
  lbTime->setText(QString("%1 +%2 h").arg(TimeGroupText(start_, minute)).arg(minute / kMinutesPerHour));
}

void TdkTimeline::ScrollToTime()
{
  for (int row = 0; row < model_->rowCount(); ++row) {
    if (model_->EventAt(row)->Minute < frame_.Minute) continue;
    tvEvents->scrollTo(model_->index(row, 0), QAbstractItemView::PositionAtTop);
    return;
  }
  tvEvents->scrollToBottom();
}

void TdkTimeline::PlayStep()
{
  const int step = std::max(1, cbSpeed->currentData().toInt() / kStepsPerSecond);
  const int next = std::min(slTime->maximum(), slTime->value() + step);
  slTime->setValue(next);
  if (next >= slTime->maximum()) btPlay->setChecked(false);
}

void TdkTimeline::ActivateRow(int row)
{
  const scenario::TTimelineEvent* event = model_->EventAt(row);
  if (event == nullptr) return;
  const QString force = QString::fromStdString(event->Force);
  SetMinute(event->Minute);
  emit ForceActivated(force);
}

}  // namespace editor
