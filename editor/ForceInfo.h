#pragma once
// The dialog of Edit force: the force's header lines and its speed.
#include <QDialog>
#include <string>
#include <vector>

#include "editor/ClampingSpinBox.h"

class QPlainTextEdit;
class QPushButton;

namespace editor {

class TdlgForceInfo : public QDialog {
  Q_OBJECT
 public:
  explicit TdlgForceInfo(QWidget* parent = nullptr);

  QPlainTextEdit* Memo1 = nullptr;  // force overview, read-only
  TClampingSpinBox* seSpeed = nullptr;      // 0..32 knots
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

  void ClearOverview();
  void AddOverviewLine(const std::string& line);
  // Values outside 0..32 are held to the nearer limit.
  void SetSpeed(int knots);
  int Speed() const;
};

}  // namespace editor
