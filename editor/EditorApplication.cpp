#include "editor/EditorApplication.h"

#include "platform/qt/QtUserDialogs.h"

namespace editor {

std::string UncaughtErrorText(std::exception_ptr error)
{
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& e) {
    if (*e.what() != '\0') return e.what();
  } catch (...) {
  }
  return "An unexpected error occurred.";
}

TEditorApplication::TEditorApplication(int& argc, char** argv)
    : QApplication(argc, argv),
      dialogs_(std::make_unique<platform::QtUserDialogs>(nullptr, "VRK editor"))
{
  setApplicationName("VRK editor");
  // The user's settings (recent scenarios, layout) go to <config>/Corvalis/VRK editor.conf.
  setOrganizationName("Corvalis");
}

TEditorApplication::~TEditorApplication() = default;

bool TEditorApplication::notify(QObject* receiver, QEvent* event)
{
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    dialogs_->ShowError(UncaughtErrorText(std::current_exception()));
    return false;
  }
}

}  // namespace editor
