#include "editor/UnsavedMarks.h"

#include <QWidget>
#include <array>

#include "editor/EditorDocument.h"
#include "editor/ForcesModel.h"

namespace editor {

QString CaptionWithModifiedMark(const std::string& caption) { return QString::fromStdString(caption) + "[*]"; }

TUnsavedMarks::TUnsavedMarks(QWidget& window, const TEditorDocument& document, TForcesModel& forces)
    : QObject(&window), window_(window), document_(document), forces_(forces)
{
  connect(&document, &TEditorDocument::SavedStateChanged, this, [this] { Update(); });
  Update();
}

void TUnsavedMarks::Update()
{
  const std::array<bool, 2> unsaved = {document_.SideModified(0), document_.SideModified(1)};
  window_.setWindowModified(unsaved[0] || unsaved[1]);
  forces_.MarkUnsavedSides(unsaved);
}

}  // namespace editor
