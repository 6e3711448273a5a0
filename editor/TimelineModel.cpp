#include "editor/TimelineModel.h"

#include <array>

#include "scenario/DayPhase.h"
#include "scenario/ScenarioTime.h"
#include "scenario/TimelineText.h"
#include "platform/ConvertError.h"

namespace editor {

namespace {

constexpr std::array<const char*, 5> kColumns = {"Time", "Force", "Case", "Event", "Light"};

}  // namespace

QString TimeGroupText(double start, std::int64_t minute)
{
  try {
    return QString::fromStdString(scenario::FormatTimeGroup(scenario::MinuteTime(start, minute)));
  } catch (const platform::EConvertError&) {
    return "------";  // beyond the calendar
  }
}

void TTimelineModel::SetEvents(std::vector<scenario::TTimelineEvent> events, double start)
{
  beginResetModel();
  events_ = std::move(events);
  start_ = start;
  Refilter();
  endResetModel();
}

void TTimelineModel::SetFilter(TTimelineFilter filter)
{
  beginResetModel();
  filter_ = std::move(filter);
  Refilter();
  endResetModel();
}

bool TTimelineModel::Passes(const scenario::TTimelineEvent& event) const
{
  if (!filter_.Force.isEmpty() && QString::fromStdString(event.Force) != filter_.Force) return false;
  if (filter_.Side && event.Side != *filter_.Side) return false;
  return !filter_.Place || event.Place == *filter_.Place;
}

void TTimelineModel::Refilter()
{
  shown_.clear();
  for (std::size_t i = 0; i < events_.size(); ++i)
    if (Passes(events_[i])) shown_.push_back(i);
}

const scenario::TTimelineEvent* TTimelineModel::EventAt(int row) const
{
  return row >= 0 && row < rowCount() ? &events_[shown_[static_cast<std::size_t>(row)]] : nullptr;
}

int TTimelineModel::rowCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int TTimelineModel::columnCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : static_cast<int>(kColumns.size());
}

QVariant TTimelineModel::data(const QModelIndex& index, int role) const
{
  const scenario::TTimelineEvent* event = EventAt(index.row());
  if (event == nullptr || role != Qt::DisplayRole) return {};
  switch (index.column()) {
  case 0: return TimeGroupText(start_, event->Minute);
  case 1: return QString::fromStdString(event->Force);
  case 2: return event->Case;
  case 3: return QString::fromStdString(scenario::TimelineEventWords(*event));
  case 4: return event->Phase == scenario::dpNone ? QString() : QString(scenario::DayPhaseName(event->Phase));
  default: return {};
  }
}

QVariant TTimelineModel::headerData(int section, Qt::Orientation orientation, int role) const
{
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
  return QString(kColumns[static_cast<std::size_t>(section)]);
}

}  // namespace editor
