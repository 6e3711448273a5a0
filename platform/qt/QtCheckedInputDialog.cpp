#include "platform/qt/QtCheckedInputDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/QtText.h"

namespace platform {

QtCheckedInputDialog::QtCheckedInputDialog(QWidget* parent, const QString& title, const QString& prompt,
                                           const std::string& defaultText, InputCheck check)
    : QDialog(parent), defaultText_(defaultText), check_(std::move(check))
{
  setWindowTitle(title);
  auto* column = new QVBoxLayout(this);
  column->addWidget(new QLabel(prompt, this));
  Edit = new QLineEdit(ToQString(defaultText), this);
  Edit->setObjectName("Edit");
  Edit->setMinimumWidth(320);
  column->addWidget(Edit);
  Reason = new QLabel(this);
  Reason->setObjectName("Reason");
  Reason->setWordWrap(true);
  QPalette red = Reason->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  Reason->setPalette(red);
  Reason->hide();
  column->addWidget(Reason);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  OkButton = buttons->button(QDialogButtonBox::Ok);
  column->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // A changed text is checked again at the next OK: the old reason no longer applies.
  connect(Edit, &QLineEdit::textEdited, Reason, &QLabel::hide);
}

std::string QtCheckedInputDialog::Text() const
{
  if (Edit->text() == ToQString(defaultText_)) return defaultText_;
  return FromQString(Edit->text());
}

void QtCheckedInputDialog::accept()
{
  const std::string text = Text();
  const std::string reason = text == defaultText_ || !check_ ? std::string() : check_(text);
  if (reason.empty()) {
    QDialog::accept();
    return;
  }
  QString shown = ToQString(reason);
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  Reason->setText(shown);
  Reason->show();
  // The box grows to show the whole reason.
  layout()->activate();
  adjustSize();
  Edit->setFocus();
  Edit->selectAll();
}

}  // namespace platform
