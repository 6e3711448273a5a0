#pragma once
// A one-line input box that checks the text before taking it: OK with a refused text keeps the
// box open with the text and shows the reason in red under it; Cancel closes it.
#include <QDialog>
#include <string>

#include "platform/UserDialogs.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {

class QtCheckedInputDialog : public QDialog {
  Q_OBJECT
 public:
  QtCheckedInputDialog(QWidget* parent, const QString& title, const QString& prompt, const std::string& defaultText,
                       InputCheck check);

  // The entered text in UTF-8; the default text's own bytes while it is unchanged.
  std::string Text() const;
  // OK: takes the text when the check finds no fault in it, else shows the reason.
  void accept() override;

  QLineEdit* Edit = nullptr;
  QLabel* Reason = nullptr;
  QPushButton* OkButton = nullptr;

 private:
  std::string defaultText_;
  InputCheck check_;
};

}  // namespace platform
