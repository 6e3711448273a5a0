#include "editor/EditorActions.h"

#include <QAction>
#include <QKeySequence>
#include <QUndoStack>
#include <QWidget>

#include "editor/ToolbarGlyphs.h"

namespace editor {

namespace {

// One row of the table: a hint of the form "short|long" gives the tooltip (the short part)
// and the description (the long part) that the toolbar buttons show.
struct TCommandRow {
  TCommand Command;
  const char* Name;
  const char* Text;
  QKeySequence Shortcut;
  const char* Hint;
  bool Checkable;
};

const TCommandRow kCommandRows[] = {
    {TCommand::Open, "Openscenario1", "&Open scenario", QKeySequence(Qt::CTRL | Qt::Key_O),
     "Load scenario|Open a scenario or campaign directory", false},
    {TCommand::ViewShipFile, "Viewshipfile1", "&View ship file", {}, nullptr, false},
    {TCommand::Save, "Save1", "&Save ship file", QKeySequence(Qt::CTRL | Qt::Key_S), nullptr, false},
    {TCommand::SaveScenarioAs, "Savescenarioas1", "Save scenario &as", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
     "Save scenario as|Copy the whole scenario folder to a new folder and go on editing there", false},
    {TCommand::Exit, "Exit1", "E&xit", {}, nullptr, false},
    {TCommand::SaveEnvironment, "Saveenvironment1", "Save environment", {}, nullptr, false},
    {TCommand::About, "About1", "&About", {}, nullptr, false},
    {TCommand::ZoomIn, "ZoomIn1", "Zoom in", {}, "Zoom in|Zoom in map display", false},
    {TCommand::ZoomOut, "ZoomOut1", "Zoom out", {}, "Zoom out|Zoom out map display", false},
    {TCommand::ZoomToScenario, "Zoomtoscenario1", "Zoom to &scenario", {}, "Zoom to scenario (Home on the map)", false},
    {TCommand::SmoothDrawing, "Smoothdrawing1", "S&mooth drawing", {}, nullptr, true},
    {TCommand::ReadableLabels, "Readablelabels1", "&Readable labels", {},
     "Readable labels|Labels placed clear of marks and lines, with a halo, never below 8 pt", true},
    {TCommand::Legend, "Legend1", "&Legend", {}, nullptr, false},
    {TCommand::Timeline, "Timeline1", "&Timeline", {},
     "Timeline|Play the forces' movements on a shared clock and list what happens on the way", true},
    {TCommand::PanelOnly, "PanelOnly1", "Show load messages in the panel only", {}, nullptr, true},
    {TCommand::ConfirmSaves, "ConfirmSaves1", "Confirm each save with a message", {}, nullptr, true},
    {TCommand::Endurance, "Endurance1", "&Endurance calculator...", {}, nullptr, false},
    {TCommand::EditForce, "Editforce1", "&Edit force", {}, nullptr, false},
    {TCommand::AddCase, "Addcase1", "Add case", {}, nullptr, false},
    {TCommand::PickPoint, "Pickpoint1", "Pick point", {}, nullptr, false},
    {TCommand::EditLine, "Edit1", "Edit", {}, nullptr, false},
    {TCommand::DeleteLine, "Delete1", "Delete", {}, nullptr, false},
    {TCommand::InsertLine, "Insert1", "Insert", {}, nullptr, false},
};

void SetHint(QAction& action, const QString& hint)
{
  const qsizetype bar = hint.indexOf('|');
  action.setToolTip(bar < 0 ? hint : hint.left(bar));
  action.setWhatsThis(bar < 0 ? hint : hint.mid(bar + 1));
}

}  // namespace

TEditorActions::TEditorActions(QWidget& window, QUndoStack& undoStack) : QObject(&window)
{
  for (const TCommandRow& row : kCommandRows) {
    auto* action = new QAction(row.Text, &window);
    action->setObjectName(row.Name);
    if (!row.Shortcut.isEmpty()) action->setShortcut(row.Shortcut);
    if (row.Hint != nullptr) SetHint(*action, row.Hint);
    action->setCheckable(row.Checkable);
    actions_[static_cast<std::size_t>(row.Command)] = action;
  }
  // The toolbar's glyphs; the menus show the texts alone.
  for (const auto& [command, glyph] : {std::pair{TCommand::Open, LoadGlyph()}, std::pair{TCommand::ZoomIn, ZoomInGlyph()},
                                       std::pair{TCommand::ZoomOut, ZoomOutGlyph()}}) {
    (*this)[command]->setIcon(glyph);
    (*this)[command]->setIconVisibleInMenu(false);
  }

  QAction* undo = undoStack.createUndoAction(&window);
  undo->setObjectName("Undo1");
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  actions_[static_cast<std::size_t>(TCommand::Undo)] = undo;
  QAction* redo = undoStack.createRedoAction(&window);
  redo->setObjectName("Redo1");
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  actions_[static_cast<std::size_t>(TCommand::Redo)] = redo;

  UpdateEnabled({});
}

void TEditorActions::Adopt(TCommand command, QAction* action)
{
  if (command == TCommand::Problems) {
    action->setText("&Problems");
    action->setObjectName("Problems1");
  }
  actions_[static_cast<std::size_t>(command)] = action;
}

void TEditorActions::UpdateEnabled(const TCommandState& state)
{
  (*this)[TCommand::ViewShipFile]->setEnabled(state.ScenarioLoaded);
  // Save writes only a side with unsaved edits.
  (*this)[TCommand::Save]->setEnabled(state.ScenarioLoaded && state.SideModified);
  (*this)[TCommand::SaveScenarioAs]->setEnabled(state.ScenarioLoaded);
  for (TCommand command : {TCommand::PickPoint, TCommand::EditLine, TCommand::DeleteLine, TCommand::InsertLine})
    (*this)[command]->setEnabled(state.LineSelected);
  // A case the force's mission does not have can be added from its empty list.
  (*this)[TCommand::AddCase]->setVisible(state.ForceSelected && state.CaseListEmpty);
}

QAction* TEditorActions::CaseListKeyCommand(int key) const
{
  switch (key) {
  case Qt::Key_F2:
  case Qt::Key_Return:
  case Qt::Key_Enter:
    return (*this)[TCommand::EditLine];
  case Qt::Key_Delete:
    return (*this)[TCommand::DeleteLine];
  case Qt::Key_Insert:
    return (*this)[TCommand::InsertLine];
  default:
    return nullptr;
  }
}

}  // namespace editor
