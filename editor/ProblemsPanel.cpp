#include "editor/ProblemsPanel.h"

#include <QHeaderView>
#include <QTreeView>

#include "editor/ProblemsModel.h"

namespace editor {

TdkProblems::TdkProblems(QWidget* parent) : QDockWidget("Problems", parent)
{
  setObjectName("dkProblems");
  model_ = new TProblemsModel(this);
  tvProblems = new QTreeView(this);
  tvProblems->setObjectName("tvProblems");
  tvProblems->setModel(model_);
  tvProblems->setRootIsDecorated(false);
  tvProblems->setUniformRowHeights(true);
  tvProblems->setSelectionBehavior(QAbstractItemView::SelectRows);
  tvProblems->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tvProblems->setColumnWidth(TProblemsModel::kFile, 130);
  tvProblems->setColumnWidth(TProblemsModel::kLine, 45);
  tvProblems->setColumnWidth(TProblemsModel::kSeverity, 65);
  tvProblems->setColumnWidth(TProblemsModel::kForce, 130);
  tvProblems->setColumnWidth(TProblemsModel::kCase, 40);
  tvProblems->header()->setStretchLastSection(true);
  setWidget(tvProblems);
  connect(tvProblems, &QTreeView::activated, this, [this](const QModelIndex& index) {
    // A copy: showing the place may replace the rows.
    if (const scenario::TDiagnostic* problem = model_->At(index))
      emit ProblemActivated(scenario::TDiagnostic(*problem));
  });
}

void TdkProblems::SetProblems(std::vector<scenario::TDiagnostic> problems)
{
  model_->SetDiagnostics(std::move(problems));
  const std::size_t count = model_->Diagnostics().size();
  setWindowTitle(count == 0 ? QString("Problems") : QString("Problems (%1)").arg(count));
}

const std::vector<scenario::TDiagnostic>& TdkProblems::Problems() const { return model_->Diagnostics(); }

}  // namespace editor
