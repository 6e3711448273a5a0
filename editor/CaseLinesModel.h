#pragma once
// The case list as a model: the shown case's block of its side's file lines, one row per line
// ("CASE" line first). The side lines are the store: the model reads them by row and keeps no
// copy, so an edit is made on the side lines and the model shown again.
#include <QAbstractListModel>
#include <cstddef>
#include <string>

#include "platform/TextLines.h"

namespace editor {

class TCaseLinesModel : public QAbstractListModel {
  Q_OBJECT
 public:
  using QAbstractListModel::QAbstractListModel;

  // Shows count lines of lines from first on (the lines must outlive the showing); no lines
  // with count 0.
  void Show(const platform::TextLines& lines, std::size_t first, std::size_t count);
  void Clear();
  // The shown lines were changed in place (same count).
  void LinesChanged();
  // The line of a row as its bytes in the file; empty past the end.
  std::string Line(int row) const;
  // The shown lines.
  platform::TextLines Lines() const;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  const platform::TextLines* lines_ = nullptr;
  std::size_t first_ = 0;
  std::size_t count_ = 0;
};

}  // namespace editor
