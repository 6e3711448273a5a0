#pragma once
// The dry run's events as a table model: one row per event that passes the filter (force, side,
// area), in time order, with the columns "Time" (DDHHMM), "Force", "Case", "Event" and "Light".
#include <QAbstractTableModel>
#include <QString>
#include <optional>
#include <vector>

#include "scenario/Timeline.h"

namespace editor {

// "DDHHMM" of a minute after the start (a date-time); dashes beyond the calendar.
QString TimeGroupText(double start, std::int64_t minute);

struct TTimelineFilter {
  QString Force;                                // empty: every force
  std::optional<std::int32_t> Side;             // none: both sides
  std::optional<scenario::TEventPlace> Place;   // none: every area, waypoint and target
};

class TTimelineModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Shows these events; `start` is the scenario start as a date-time (for the times).
  void SetEvents(std::vector<scenario::TTimelineEvent> events, double start);
  const std::vector<scenario::TTimelineEvent>& Events() const { return events_; }
  void SetFilter(TTimelineFilter filter);
  const TTimelineFilter& Filter() const { return filter_; }
  // The event of a shown row, or null.
  const scenario::TTimelineEvent* EventAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  bool Passes(const scenario::TTimelineEvent& event) const;
  void Refilter();

  std::vector<scenario::TTimelineEvent> events_;
  std::vector<std::size_t> shown_;  // indices into events_
  TTimelineFilter filter_;
  double start_ = 0;
};

}  // namespace editor
