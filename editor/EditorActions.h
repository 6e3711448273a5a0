#pragma once
// The editor's commands, one QAction each: text, shortcut, tooltip and enabled state live here,
// and the menus, the toolbar, the context menus and the keys all use the same action.
#include <QObject>
#include <QString>
#include <array>

class QAction;
class QUndoStack;
class QWidget;

namespace editor {

enum class TCommand {
  Open,
  ViewShipFile,
  Save,
  SaveScenarioAs,
  Exit,
  Undo,
  Redo,
  SaveEnvironment,
  About,
  ZoomIn,
  ZoomOut,
  ZoomToScenario,
  SmoothDrawing,
  ReadableLabels,
  Legend,
  Problems,
  Timeline,
  PanelOnly,
  ConfirmSaves,
  Endurance,
  EditForce,
  AddCase,
  PickPoint,
  EditLine,
  DeleteLine,
  InsertLine,
  Count
};

// What the enabled state of the commands depends on.
struct TCommandState {
  bool ScenarioLoaded = false;
  bool ForceSelected = false;  // a row of the forces list is selected
  bool LineSelected = false;   // a line of the case list is selected
  bool CaseListEmpty = true;
  bool SideModified = false;  // the current force's side has unsaved edits
};

class TEditorActions : public QObject {
  Q_OBJECT
 public:
  // The actions belong to the window (their shortcuts act in it); Undo and Redo are the undo
  // stack's own, which name the step they take back or make again.
  TEditorActions(QWidget& window, QUndoStack& undoStack);

  QAction* operator[](TCommand command) const { return actions_[static_cast<std::size_t>(command)]; }
  // Takes an action made elsewhere (the Problems panel's show/hide) as the command's.
  void Adopt(TCommand command, QAction* action);
  // Enables (and shows, for Add case) each command as the state allows.
  void UpdateEnabled(const TCommandState& state);
  // The case list's command of a key (F2 and Enter edit, Delete, Insert), else null.
  QAction* CaseListKeyCommand(int key) const;

 private:
  std::array<QAction*, static_cast<std::size_t>(TCommand::Count)> actions_{};
};

}  // namespace editor
