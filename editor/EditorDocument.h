#pragma once
// The editor's side of the scenario document: the document and the undo stack of its edits.
// Every edit, from the menus, the keys, the dialogs and the map alike, is one step on the stack
// holding the splice the document's operation worked out; redo applies it, undo reverts it.
// The window changes nothing itself: it follows Changed, which carries the document's change
// and the place (force, case tab, line) the step shows.
#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <optional>

#include "editor/EditPlace.h"
#include "scenario/ScenarioDocument.h"

class QUndoStack;

namespace editor {

class TEditorDocument : public QObject {
  Q_OBJECT
 public:
  TEditorDocument();
  ~TEditorDocument() override;

  scenario::TScenarioDocument& Document() const { return *document_; }
  scenario::TScenarioState& State() const { return document_->State(); }
  QUndoStack& UndoStack() const { return *undoStack_; }

  // A new document in place of the old one, whose steps go with it (the stack is empty and
  // clean). The old document is freed before this returns.
  void Replace(std::unique_ptr<scenario::TScenarioState> state);

  // One step named text: the splice applied, place after shown; undone, the splice reverted
  // and place before shown. Nothing without a splice (the edit changed nothing). Returns
  // whether a step was pushed.
  bool Push(std::optional<scenario::TSideSplice> splice, const TEditPlace& before, const TEditPlace& after,
            const QString& text);

  // ---- Saved state per side -------------------------------------------------------------------
  // One stack holds both sides' steps; each side has its own clean index. A side is modified
  // when a step of that side stands between its clean index and the stack's index, or when its
  // clean index was dropped (a new step after undoing past a save).
  bool SideModified(int side) const;
  // The side's lines as they stand are the saved ones (after a save, or a step back to them).
  void MarkSaved(int side);

  // The steps' way to change the document.
  void Change(const scenario::TSideSplice& splice, bool forward, const TEditPlace& place);

 signals:
  // After the document applied or reverted a splice: its change and the place to show.
  void Changed(const scenario::TDocumentChange& change, const TEditPlace& place);
  // A splice that does not fit the lines (they were changed behind the stack's back): nothing
  // changed, the reason.
  void Refused(const QString& reason);
  // Which sides have unsaved edits may have changed: after every move of the stack (a step
  // made, undone or redone), a save and a new document.
  void SavedStateChanged();

  // MarkSaved: the side's lines are its file's (a save, a discard).
  void SideSaved(int side);

 private:
  void Listen();
  void StackMoved();

  std::unique_ptr<scenario::TScenarioDocument> document_;
  std::unique_ptr<QUndoStack> undoStack_;
  TEditPlace place_;
  // The document's change of the step under way, told once the stack has moved.
  std::optional<scenario::TDocumentChange> change_;
  // Per side, the stack index of its saved lines; -1 when no index reaches them any more.
  std::array<int, 2> cleanIndex_{0, 0};
};

// "<verb> line <n> of <force> case <c>", lines counted from 1 as the case list shows them.
QString LineStepName(const QString& verb, const TEditPlace& place);

}  // namespace editor
