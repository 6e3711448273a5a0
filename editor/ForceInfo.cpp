#include "editor/ForceInfo.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QStyle>

namespace editor {

TdlgForceInfo::TdlgForceInfo(QWidget* parent) : QDialog(parent)
{
  setObjectName("dlgForceInfo");
  setWindowTitle("Edit force info");
  setFixedSize(244, 192);
  move(309, 193);

  auto* overview = new QLabel("Force overview", this);
  overview->move(8, 8);
  overview->adjustSize();
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setGeometry(8, 24, 137, 161);
  Memo1->setReadOnly(true);
  Memo1->setFocusPolicy(Qt::NoFocus);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  QPalette tip = Memo1->palette();
  tip.setColor(QPalette::Base, tip.color(QPalette::ToolTipBase));
  tip.setColor(QPalette::Text, tip.color(QPalette::ToolTipText));
  Memo1->setPalette(tip);

  auto* speed = new QLabel("Speed", this);
  speed->move(160, 8);
  speed->adjustSize();
  seSpeed = new TClampingSpinBox(this);
  seSpeed->setObjectName("seSpeed");
  seSpeed->setGeometry(160, 24, 57, 22);
  seSpeed->setRange(0, 32);
  lbSpeedHeld = new QLabel(this);
  lbSpeedHeld->setObjectName("lbSpeedHeld");
  lbSpeedHeld->setGeometry(152, 48, 88, 76);
  lbSpeedHeld->setWordWrap(true);
  lbSpeedHeld->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  connect(seSpeed, &QSpinBox::valueChanged, this, [this] { speedChanged_ = true; });
  connect(seSpeed->lineEdit(), &QLineEdit::textEdited, this, [this] {
    speedChanged_ = true;
    lbSpeedHeld->clear();
  });

  // The platform's own OK and Cancel captions and icons.
  QDialogButtonBox standard;
  OKBtn = new QPushButton(standard.addButton(QDialogButtonBox::Ok)->text(), this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  OKBtn->setGeometry(160, 128, 75, 25);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(standard.addButton(QDialogButtonBox::Cancel)->text(), this);
  CancelBtn->setObjectName("CancelBtn");
  CancelBtn->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  CancelBtn->setGeometry(160, 160, 75, 25);
  CancelBtn->setAutoDefault(false);

  setTabOrder(seSpeed, OKBtn);
  setTabOrder(OKBtn, CancelBtn);
  seSpeed->setFocus();

  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TdlgForceInfo::ClearOverview() { Memo1->clear(); }

void TdlgForceInfo::ShowHeld(const QString& reason) { lbSpeedHeld->setText(reason); }

void TdlgForceInfo::accept()
{
  const QString typed = seSpeed->cleanText().trimmed();
  const int held = seSpeed->TextValue(typed);
  if (typed != QString::number(held)) {
    seSpeed->setValue(held);
    seSpeed->lineEdit()->setText(QString::number(held));
    ShowHeld(QString("%1 is not a speed of %2 to %3 knots: held to %4.")
                 .arg(typed.isEmpty() ? QString("Nothing") : typed)
                 .arg(seSpeed->minimum())
                 .arg(seSpeed->maximum())
                 .arg(held));
    return;
  }
  QDialog::accept();
}

void TdlgForceInfo::AddOverviewLine(const std::string& line)
{
  Memo1->appendPlainText(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
  // The box opens at the start of its lines, not scrolled to the end of the last one.
  Memo1->moveCursor(QTextCursor::Start);
  Memo1->horizontalScrollBar()->setValue(0);
}

void TdlgForceInfo::SetSpeed(int knots)
{
  seSpeed->setValue(knots);
  seSpeed->lineEdit()->setText(QString::number(seSpeed->value()));
  lbSpeedHeld->clear();
  if (knots != seSpeed->value())
    ShowHeld(QString("The file gives %1 knots; kept unless changed here.").arg(knots));
  speedChanged_ = false;
}

int TdlgForceInfo::Speed() const
{
  // Text still being typed counts as it will once the box takes it.
  seSpeed->interpretText();
  return seSpeed->value();
}

}  // namespace editor
