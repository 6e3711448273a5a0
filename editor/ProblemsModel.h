#pragma once
// The Problems panel's rows as a model over the diagnostics records: file (its name; the full
// name as tooltip), 1-based line, severity (the code as tooltip), the force and case the record
// names, message on one line (the full text as tooltip). The force and case are also offered
// under roles of their own.
#include <QAbstractTableModel>
#include <vector>

#include "scenario/Diagnostic.h"

namespace editor {

class TProblemsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { kFile, kLine, kSeverity, kForce, kCase, kMessage, kColumnCount };
  // The record's force title and case number (0 for none).
  static constexpr int kForceRole = Qt::UserRole + 1;
  static constexpr int kCaseRole = Qt::UserRole + 2;

  using QAbstractTableModel::QAbstractTableModel;

  // Replaces every row.
  void SetDiagnostics(std::vector<scenario::TDiagnostic> diagnostics);
  const std::vector<scenario::TDiagnostic>& Diagnostics() const { return diagnostics_; }
  // The record of a row; nullptr outside the rows.
  const scenario::TDiagnostic* At(const QModelIndex& index) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  std::vector<scenario::TDiagnostic> diagnostics_;
};

}  // namespace editor
