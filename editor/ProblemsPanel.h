#pragma once
// The Problems panel: a dock listing the messages of the last load (and the findings of later
// checks), one row each with the file, the 1-based line, the severity and the text. A
// double-click asks the main window to show the place.
#include <QDockWidget>
#include <vector>

#include "scenario/Problem.h"

class QTreeWidget;

namespace editor {

class TdkProblems : public QDockWidget {
  Q_OBJECT
 public:
  explicit TdkProblems(QWidget* parent = nullptr);

  QTreeWidget* tvProblems = nullptr;

  // Replaces the rows; they stay until the next call.
  void SetProblems(std::vector<scenario::TProblem> problems);
  const std::vector<scenario::TProblem>& Problems() const { return problems_; }

 signals:
  // A row was double-clicked (or Enter pressed on it).
  void ProblemActivated(const scenario::TProblem& problem);

 private:
  std::vector<scenario::TProblem> problems_;
};

}  // namespace editor
