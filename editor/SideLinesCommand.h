#pragma once
// An undoable change of one side's file lines: the splice of lines it made, and the place
// (force, case tab, line) shown before and after it. Undo takes the lines back to their exact
// bytes and shows the place before; redo makes the change again and shows the place after.
#include <QUndoCommand>

#include "editor/EditPlace.h"
#include "scenario/LinesSplice.h"

namespace editor {

class TfrmEditMain;

// What one change did: the side, its splice, and the places before and after it.
struct TSideLinesChange {
  int Side = 0;
  scenario::TLinesSplice Splice;
  TEditPlace Before;
  TEditPlace After;
};

class TSideLinesCommand : public QUndoCommand {
 public:
  // With alreadyMade the lines already show the change when the command is pushed: its first
  // redo only records it.
  TSideLinesCommand(TfrmEditMain& window, TSideLinesChange change, const QString& text, bool alreadyMade);

  void undo() override;
  void redo() override;

  const TSideLinesChange& Change() const { return change_; }

 protected:
  // Runs after the lines changed either way, before the place is shown.
  virtual void LinesChanged() {}
  TfrmEditMain& Window() { return window_; }

 private:
  TfrmEditMain& window_;
  TSideLinesChange change_;
  bool skipRedo_;
};

}  // namespace editor
