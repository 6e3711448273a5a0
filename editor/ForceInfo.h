#pragma once
// The dialog of Edit force: the force's header lines and its speed.
#include <QDialog>
#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace editor {

class TdlgForceInfo : public QDialog {
  Q_OBJECT
 public:
  explicit TdlgForceInfo(QWidget* parent = nullptr);

  QPlainTextEdit* Memo1 = nullptr;  // force overview, read-only
  QSpinBox* seSpeed = nullptr;      // 0..32 knots
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

  void ClearOverview();
  void AddOverviewLine(const std::string& line);
  // Values outside 0..32 are held to the nearer limit.
  void SetSpeed(int knots);
  int Speed() const;
};

}  // namespace editor
