#pragma once
// The About box, also shown as the start-up splash that closes itself after three seconds.
#include <QDialog>
#include <QTimer>

class QFrame;

namespace editor {

class TdlgAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TdlgAbout(QWidget* parent = nullptr);

  QFrame* Panel1 = nullptr;
  QTimer* Timer1 = nullptr;

  // Shows the box modally with the close timer running.
  void ShowAsSplash();
  // Shows the box modally until it is clicked or a key is pressed.
  void ShowAbout();

  void Timer1Timer();
  void Panel1Click();

 protected:
  void keyPressEvent(QKeyEvent* event) override;  // FormKeyDown: any key closes
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
};

}  // namespace editor
