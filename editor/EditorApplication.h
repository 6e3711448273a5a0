#pragma once
// The editor's application object: an error that no handler caught while an event was being
// delivered is shown in a message box, and the event loop goes on.
#include <QApplication>
#include <exception>
#include <memory>
#include <string>

#include "platform/UserDialogs.h"

namespace editor {

// The message shown for an uncaught error: its own text, or a general one for an error that
// carries no text.
std::string UncaughtErrorText(std::exception_ptr error);

class TEditorApplication : public QApplication {
 public:
  TEditorApplication(int& argc, char** argv);
  ~TEditorApplication() override;

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  std::unique_ptr<platform::UserDialogs> dialogs_;
};

}  // namespace editor
