#include "editor/CaseLinesModel.h"

#include <algorithm>

#include "platform/qt/QtText.h"

namespace editor {

void TCaseLinesModel::Show(const platform::TextLines& lines, std::size_t first, std::size_t count)
{
  beginResetModel();
  lines_ = &lines;
  first_ = std::min(first, lines.size());
  count_ = std::min(count, lines.size() - first_);
  endResetModel();
}

void TCaseLinesModel::Clear()
{
  beginResetModel();
  lines_ = nullptr;
  first_ = 0;
  count_ = 0;
  endResetModel();
}

void TCaseLinesModel::LinesChanged()
{
  if (rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1));
}

std::string TCaseLinesModel::Line(int row) const
{
  if (row < 0 || row >= rowCount()) return {};
  return (*lines_)[first_ + static_cast<std::size_t>(row)];
}

platform::TextLines TCaseLinesModel::Lines() const
{
  if (lines_ == nullptr) return {};
  const auto begin = lines_->begin() + static_cast<std::ptrdiff_t>(first_);
  return platform::TextLines(begin, begin + rowCount());
}

int TCaseLinesModel::rowCount(const QModelIndex& parent) const
{
  // The lines may have become shorter since they were shown: only rows still there count.
  if (parent.isValid() || lines_ == nullptr) return 0;
  return static_cast<int>(std::min(count_, lines_->size() - std::min(first_, lines_->size())));
}

QVariant TCaseLinesModel::data(const QModelIndex& index, int role) const
{
  if (!index.isValid() || role != Qt::DisplayRole || index.row() >= rowCount()) return {};
  return platform::ToQString(Line(index.row()));
}

}  // namespace editor
