#pragma once
// The endurance calculator: how many hours of steaming a fuel-limited range allows at a speed.
#include <QDialog>

#include "editor/ClampingSpinBox.h"

class QLabel;
class QPushButton;

namespace platform {
class UserDialogs;
}

namespace editor {

// The fuel use factor of a speed in whole knots (1.0 outside 1..100).
double FuelFactor(int speed);
// round(range / speed * FuelFactor(speed)), halves to even; 0 for a speed of 0 or below.
int EnduranceFor(int speed, int range);

class TdlgComputeEndurance : public QDialog {
  Q_OBJECT
 public:
  // Messages go through dialogs, which must outlive the calculator.
  explicit TdlgComputeEndurance(platform::UserDialogs& dialogs, QWidget* parent = nullptr);

  TClampingSpinBox* seRange = nullptr;
  TClampingSpinBox* seSpeed = nullptr;
  QLabel* stResult = nullptr;
  QPushButton* bnCalculate = nullptr;
  QPushButton* bnClose = nullptr;

  void bnCalculateClick();
  void bnCloseClick();

 private:
  platform::UserDialogs& dialogs_;
};

}  // namespace editor
