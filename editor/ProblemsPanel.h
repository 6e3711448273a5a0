#pragma once
// The Problems panel: a dock listing the diagnostics of the last load (and the findings of later
// checks) in a plain view over a TProblemsModel, one row each with the file, the 1-based line,
// the severity and the text. A double-click asks the main window to show the place.
#include <QDockWidget>
#include <vector>

#include "scenario/Diagnostic.h"

class QTreeView;

namespace editor {

class TProblemsModel;

class TdkProblems : public QDockWidget {
  Q_OBJECT
 public:
  explicit TdkProblems(QWidget* parent = nullptr);

  QTreeView* tvProblems = nullptr;

  // Replaces the rows; they stay until the next call.
  void SetProblems(std::vector<scenario::TDiagnostic> problems);
  const std::vector<scenario::TDiagnostic>& Problems() const;
  TProblemsModel& Model() { return *model_; }

 signals:
  // A row was double-clicked (or Enter pressed on it).
  void ProblemActivated(const scenario::TDiagnostic& problem);

 private:
  TProblemsModel* model_ = nullptr;
};

}  // namespace editor
