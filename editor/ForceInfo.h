#pragma once
// The dialog of Edit force: the force's header lines and its speed.
#include <QDialog>
#include <string>
#include <vector>

#include "editor/ClampingSpinBox.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace editor {

class TdlgForceInfo : public QDialog {
  Q_OBJECT
 public:
  explicit TdlgForceInfo(QWidget* parent = nullptr);

  QPlainTextEdit* Memo1 = nullptr;  // force overview, read-only
  TClampingSpinBox* seSpeed = nullptr;      // 0..32 knots
  QLabel* lbSpeedHeld = nullptr;            // why the box shows another speed than given
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

  void ClearOverview();
  void AddOverviewLine(const std::string& line);
  // Shows the speed the file gives; one outside 0..32 shows at the nearer limit, with a note,
  // and stays as the file has it unless the user changes the box.
  void SetSpeed(int knots);
  int Speed() const;
  // Whether the user changed the box since SetSpeed.
  bool SpeedChanged() const { return speedChanged_; }

 public slots:
  // A typed text the box does not read as itself (out of 0..32, not a number) is first held
  // visibly in the box with its reason; the next OK takes it.
  void accept() override;

 private:
  void ShowHeld(const QString& reason);
  bool speedChanged_ = false;
};

}  // namespace editor
