#pragma once
// The undoable edits of a side's lines, one class per kind of edit, each naming its step for
// the Edit menu ("Undo Edit line 4 of Force A1 case 1").
#include <string>

#include "editor/SideLinesCommand.h"

namespace scenario {
class TForce;
}

namespace editor {

// "<verb> line <n> of <force> case <c>", lines counted from 1 as the case list shows them.
QString LineStepName(const QString& verb, const TEditPlace& place);

// Edit of a case line (the case list's Edit, or a line replaced through ReplaceCaseLine).
class TEditLineCommand : public TSideLinesCommand {
 public:
  TEditLineCommand(TfrmEditMain& window, TSideLinesChange change, bool alreadyMade, const QString& text = {});
};

// Insert of a case line (the case list's Insert, or InsertCaseLine).
class TInsertLineCommand : public TSideLinesCommand {
 public:
  TInsertLineCommand(TfrmEditMain& window, TSideLinesChange change, bool alreadyMade, const QString& text = {});
};

class TDeleteLineCommand : public TSideLinesCommand {
 public:
  TDeleteLineCommand(TfrmEditMain& window, TSideLinesChange change);
};

// Add case: the new case is the place after it.
class TAddCaseCommand : public TSideLinesCommand {
 public:
  TAddCaseCommand(TfrmEditMain& window, TSideLinesChange change);
};

// Edit force: the force's SPEED lines; the force reads its header again either way.
class TEditForceCommand : public TSideLinesCommand {
 public:
  TEditForceCommand(TfrmEditMain& window, TSideLinesChange change, scenario::TForce& force);

 protected:
  void LinesChanged() override;

 private:
  scenario::TForce& force_;
};

// "No" to saving at a force change: the side's lines go back to the last loaded or saved ones.
class TDiscardChangesCommand : public TSideLinesCommand {
 public:
  TDiscardChangesCommand(TfrmEditMain& window, TSideLinesChange change, const std::string& fileName);

 protected:
  // The restored lines may give a force its former header (its speed): such forces read again.
  void LinesChanged() override;
};

}  // namespace editor
