#include "editor/ProblemsModel.h"

#include <QRegularExpression>
#include <filesystem>

#include "platform/qt/QtText.h"
#include "scenario/Force.h"

namespace editor {

namespace {

// The message on one row: its non-empty lines joined by " - ".
QString OneLine(const std::string& text)
{
  static const QRegularExpression kLineBreaks("[\r\n]+");
  return QString::fromStdString(text).split(kLineBreaks, Qt::SkipEmptyParts).join(" - ");
}

QVariant Shown(const scenario::TDiagnostic& diagnostic, int column)
{
  switch (column) {
  case TProblemsModel::kFile:
    return QString::fromStdString(std::filesystem::path(diagnostic.File).filename().string());
  case TProblemsModel::kLine:
    return diagnostic.Line > 0 ? QString::number(diagnostic.Line) : QString();
  case TProblemsModel::kSeverity:
    return QString::fromStdString(std::string(scenario::SeverityText(diagnostic)));
  case TProblemsModel::kForce:
    return diagnostic.Force != nullptr ? platform::ToQString(diagnostic.Force->Title()) : QString();
  case TProblemsModel::kCase:
    return diagnostic.Case > 0 ? QString::number(diagnostic.Case) : QString();
  default:
    return OneLine(diagnostic.Text);
  }
}

QVariant ToolTip(const scenario::TDiagnostic& diagnostic, int column)
{
  switch (column) {
  case TProblemsModel::kFile:
    return QString::fromStdString(diagnostic.File);
  case TProblemsModel::kSeverity:
    return diagnostic.Code.empty() ? QVariant() : QString::fromStdString(diagnostic.Code);
  case TProblemsModel::kMessage:
    return QString::fromStdString(diagnostic.Text).replace('\r', '\n');
  default:
    return {};
  }
}

}  // namespace

void TProblemsModel::SetDiagnostics(std::vector<scenario::TDiagnostic> diagnostics)
{
  beginResetModel();
  diagnostics_ = std::move(diagnostics);
  endResetModel();
}

const scenario::TDiagnostic* TProblemsModel::At(const QModelIndex& index) const
{
  if (!index.isValid() || index.row() < 0 || static_cast<std::size_t>(index.row()) >= diagnostics_.size())
    return nullptr;
  return &diagnostics_[static_cast<std::size_t>(index.row())];
}

int TProblemsModel::rowCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : static_cast<int>(diagnostics_.size());
}

int TProblemsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant TProblemsModel::data(const QModelIndex& index, int role) const
{
  const scenario::TDiagnostic* diagnostic = At(index);
  if (diagnostic == nullptr) return {};
  switch (role) {
  case Qt::DisplayRole:
    return Shown(*diagnostic, index.column());
  case Qt::ToolTipRole:
    return ToolTip(*diagnostic, index.column());
  case kForceRole:
    return Shown(*diagnostic, kForce);
  case kCaseRole:
    return diagnostic->Case;
  default:
    return {};
  }
}

QVariant TProblemsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
  static const char* const kTitles[kColumnCount] = {"File", "Line", "Severity", "Force", "Case", "Message"};
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumnCount) return {};
  return QString(kTitles[section]);
}

}  // namespace editor
