#include "editor/ForceInfo.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
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

void TdlgForceInfo::AddOverviewLine(const std::string& line)
{
  Memo1->appendPlainText(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
}

void TdlgForceInfo::SetSpeed(int knots) { seSpeed->setValue(knots); }

int TdlgForceInfo::Speed() const
{
  // Text still being typed counts as it will once the box takes it.
  seSpeed->interpretText();
  return seSpeed->value();
}

}  // namespace editor
