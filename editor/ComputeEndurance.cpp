#include "editor/ComputeEndurance.h"

#include <QLabel>
#include <QPushButton>
#include <array>
#include <climits>
#include <cmath>

#include "platform/UserDialogs.h"

namespace editor {

double FuelFactor(int speed)
{
  // Factors of 10 to 32 knots; slower speeds share 0.3, faster ones up to 100 share 5.5.
  static constexpr std::array<double, 23> kFactors = {0.32, 0.34, 0.37, 0.4, 0.45, 0.5, 0.6, 0.7,
                                                      0.8,  0.9,  1.0,  1.1, 1.25, 1.4, 1.6, 1.8,
                                                      2.1,  2.4,  2.8,  3.2, 3.7,  4.2, 4.8};
  if (speed >= 1 && speed <= 9) return 0.3;
  if (speed >= 10 && speed <= 32) return kFactors[static_cast<std::size_t>(speed - 10)];
  if (speed >= 33 && speed <= 100) return 5.5;
  return 1.0;
}

int EnduranceFor(int speed, int range)
{
  if (speed <= 0) return 0;
  // The factor per knot is at most 0.3, so the result always fits the range's type.
  return static_cast<int>(std::nearbyint(static_cast<double>(range) / speed * FuelFactor(speed)));
}

TdlgComputeEndurance::TdlgComputeEndurance(platform::UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs)
{
  setObjectName("dlgComputeEndurance");
  setWindowTitle("Compute endurance");
  setFixedSize(317, 112);
  move(428, 235);

  auto label = [this](const char* text, int x, int y) {
    auto* l = new QLabel(text, this);
    l->move(x, y);
    l->adjustSize();
    return l;
  };
  label("Range (nm)", 16, 16);
  seRange = new TClampingSpinBox(this);
  seRange->setObjectName("seRange");
  seRange->setGeometry(16, 32, 65, 22);
  seRange->setRange(INT_MIN, INT_MAX);
  seRange->setSingleStep(100);
  seRange->setValue(3000);
  seRange->SetFallback(0);  // no limits: a text that is not a number reads as 0

  label("Speed (knots)", 96, 16);
  seSpeed = new TClampingSpinBox(this);
  seSpeed->setObjectName("seSpeed");
  seSpeed->setGeometry(96, 32, 49, 22);
  seSpeed->setRange(5, 35);
  seSpeed->setSingleStep(1);
  seSpeed->setValue(18);

  label("Result", 16, 64);
  stResult = new QLabel(this);
  stResult->setObjectName("stResult");
  stResult->setGeometry(16, 80, 97, 17);
  stResult->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  stResult->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  bnCalculate = new QPushButton("Calculate", this);
  bnCalculate->setObjectName("bnCalculate");
  bnCalculate->setGeometry(128, 72, 65, 25);
  bnCalculate->setDefault(true);
  bnClose = new QPushButton("Close", this);
  bnClose->setObjectName("bnClose");
  bnClose->setGeometry(240, 72, 65, 25);
  bnClose->setAutoDefault(false);

  // The range box comes first in the tab order.
  setTabOrder(seRange, seSpeed);
  setTabOrder(seSpeed, bnCalculate);
  setTabOrder(bnCalculate, bnClose);
  seRange->setFocus();

  connect(bnCalculate, &QPushButton::clicked, this, [this] { bnCalculateClick(); });
  connect(bnClose, &QPushButton::clicked, this, [this] { bnCloseClick(); });
}

void TdlgComputeEndurance::bnCalculateClick()
{
  // Text still being typed counts as it will once the box accepts it.
  seRange->interpretText();
  seSpeed->interpretText();
  const int range = seRange->value();
  if (range == 0) {
    dialogs_.ShowMessage("You must enter a range other than zero!");
    return;
  }
  stResult->setText(QString("%1 hours").arg(EnduranceFor(seSpeed->value(), range)));
}

void TdlgComputeEndurance::bnCloseClick() { reject(); }

}  // namespace editor
