#include "editor/SideLinesCommand.h"

#include "editor/EditMain.h"

namespace editor {

TSideLinesCommand::TSideLinesCommand(TfrmEditMain& window, TSideLinesChange change, const QString& text,
                                     bool alreadyMade)
    : QUndoCommand(text), window_(window), change_(std::move(change)), skipRedo_(alreadyMade)
{
}

void TSideLinesCommand::undo()
{
  window_.SpliceSideLines(change_.Side, change_.Splice, false);
  LinesChanged();
  window_.RecheckEdit(change_, false);
  window_.ShowEditPlace(change_.Before);
}

void TSideLinesCommand::redo()
{
  if (skipRedo_) {
    skipRedo_ = false;
    window_.RecheckEdit(change_, true);
    return;
  }
  window_.SpliceSideLines(change_.Side, change_.Splice, true);
  LinesChanged();
  window_.RecheckEdit(change_, true);
  window_.ShowEditPlace(change_.After);
}

}  // namespace editor
