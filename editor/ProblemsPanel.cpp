#include "editor/ProblemsPanel.h"

#include <QHeaderView>
#include <QRegularExpression>
#include <QTreeWidget>
#include <filesystem>

namespace editor {

namespace {

enum Column { kFile, kLine, kSeverity, kMessage };

// The message on one row: its non-empty lines joined by " - ".
QString OneLine(const std::string& text)
{
  static const QRegularExpression kLineBreaks("[\r\n]+");
  return QString::fromStdString(text).split(kLineBreaks, Qt::SkipEmptyParts).join(" - ");
}

}  // namespace

TdkProblems::TdkProblems(QWidget* parent) : QDockWidget("Problems", parent)
{
  setObjectName("dkProblems");
  tvProblems = new QTreeWidget(this);
  tvProblems->setObjectName("tvProblems");
  tvProblems->setRootIsDecorated(false);
  tvProblems->setUniformRowHeights(true);
  tvProblems->setSelectionBehavior(QAbstractItemView::SelectRows);
  tvProblems->setHeaderLabels({"File", "Line", "Severity", "Message"});
  tvProblems->setColumnWidth(kFile, 130);
  tvProblems->setColumnWidth(kLine, 45);
  tvProblems->setColumnWidth(kSeverity, 65);
  tvProblems->header()->setStretchLastSection(true);
  setWidget(tvProblems);
  connect(tvProblems, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const auto index = static_cast<std::size_t>(tvProblems->indexOfTopLevelItem(item));
    if (index < problems_.size()) emit ProblemActivated(problems_[index]);
  });
}

void TdkProblems::SetProblems(std::vector<scenario::TProblem> problems)
{
  problems_ = std::move(problems);
  tvProblems->clear();
  for (const scenario::TProblem& problem : problems_) {
    const QString file = QString::fromStdString(std::filesystem::path(problem.File).filename().string());
    auto* item = new QTreeWidgetItem(tvProblems, {file, problem.Line > 0 ? QString::number(problem.Line) : QString(),
                                                  QString::fromStdString(problem.Severity), OneLine(problem.Text)});
    item->setToolTip(kFile, QString::fromStdString(problem.File));
    QString full = QString::fromStdString(problem.Text);
    full.replace('\r', '\n');
    item->setToolTip(kMessage, full);
    if (!problem.Code.empty()) item->setToolTip(kSeverity, QString::fromStdString(problem.Code));
  }
  setWindowTitle(problems_.empty() ? QString("Problems") : QString("Problems (%1)").arg(problems_.size()));
}

}  // namespace editor
