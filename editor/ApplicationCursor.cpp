#include "editor/ApplicationCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace editor {

namespace {
// The toolkit stacks override cursors; one flag keeps at most one of ours on the stack.
bool crossShown = false;
}  // namespace

void ShowCrossCursor()
{
  if (crossShown) return;
  QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
  crossShown = true;
}

void RestoreNormalCursor()
{
  if (!crossShown) return;
  QGuiApplication::restoreOverrideCursor();
  crossShown = false;
}

bool CrossCursorShown() { return crossShown; }

}  // namespace editor
