#pragma once
// The forces list as a table model: one row per force of the loaded scenario, in load order,
// with the "Name", "Speed" and "Mission" columns; the name is the row's tooltip too. The forces
// of a side with unsaved edits are shown in bold, their tooltip saying so.
#include <QAbstractTableModel>
#include <array>

#include "scenario/ForcesList.h"

namespace editor {

class TForcesModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Shows the rows (kept by the scenario); null shows none. Called again after they were rebuilt.
  void SetRows(const std::vector<scenario::TForceListRow>* rows);
  // The force of a row, or null.
  scenario::TForce* ForceAt(int row) const;
  // The row of a force, or of the first force with that name; -1 when there is none.
  int RowOf(const scenario::TForce* force) const;
  int RowOf(const QString& name) const;
  // Which sides (0 Axis, 1 Allied) have unsaved edits; their rows are marked.
  void MarkUnsavedSides(const std::array<bool, 2>& unsaved);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  const std::vector<scenario::TForceListRow>* rows_ = nullptr;
  std::array<bool, 2> unsaved_{};
};

}  // namespace editor
