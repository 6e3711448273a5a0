#include "editor/ForcesModel.h"

#include <QFont>
#include <array>

#include "scenario/Force.h"

namespace editor {

namespace {

constexpr std::array<const char*, 3> kColumns = {"Name", "Speed", "Mission"};

}  // namespace

void TForcesModel::SetRows(const std::vector<scenario::TForceListRow>* rows)
{
  beginResetModel();
  rows_ = rows;
  endResetModel();
}

scenario::TForce* TForcesModel::ForceAt(int row) const
{
  return row >= 0 && row < rowCount() ? (*rows_)[static_cast<std::size_t>(row)].Force : nullptr;
}

int TForcesModel::RowOf(const scenario::TForce* force) const
{
  for (int row = 0; row < rowCount(); ++row)
    if ((*rows_)[static_cast<std::size_t>(row)].Force == force) return row;
  return -1;
}

int TForcesModel::RowOf(const QString& name) const
{
  for (int row = 0; row < rowCount(); ++row)
    if (QString::fromStdString((*rows_)[static_cast<std::size_t>(row)].Name) == name) return row;
  return -1;
}

void TForcesModel::MarkUnsavedSides(const std::array<bool, 2>& unsaved)
{
  if (unsaved == unsaved_) return;
  unsaved_ = unsaved;
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::FontRole, Qt::ToolTipRole});
}

int TForcesModel::rowCount(const QModelIndex& parent) const
{
  return parent.isValid() || rows_ == nullptr ? 0 : static_cast<int>(rows_->size());
}

int TForcesModel::columnCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : static_cast<int>(kColumns.size());
}

QVariant TForcesModel::data(const QModelIndex& index, int role) const
{
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const scenario::TForceListRow& row = (*rows_)[static_cast<std::size_t>(index.row())];
  const bool unsaved = row.Force != nullptr && unsaved_[row.Force->Side == 0 ? 0 : 1];
  if (role == Qt::ToolTipRole && index.column() == 0)
    return QString::fromStdString(row.Name) + (unsaved ? QString(": unsaved edits") : QString());
  if (role == Qt::FontRole && unsaved) {
    QFont bold;
    bold.setBold(true);
    return bold;
  }
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
  case 0: return QString::fromStdString(row.Name);
  case 1: return QString::fromStdString(row.Speed);
  case 2: return QString::fromStdString(row.Mission);
  default: return {};
  }
}

QVariant TForcesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= static_cast<int>(kColumns.size()))
    return {};
  return QString(kColumns[static_cast<std::size_t>(section)]);
}

}  // namespace editor
