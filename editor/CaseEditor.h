#pragma once
// The case editing of the main window: the forces list, the case tabs and the case list over
// the document. Selecting a force parses its cases from its side's lines, a tab shows one
// case's lines in the case list, and the case list's commands, Edit force and the map's edits
// each push one step on the document; every step made or taken back shows its place here.
#include <QObject>
#include <QString>
#include <memory>
#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <tuple>

#include "editor/EditPlace.h"
#include "editor/EditState.h"
#include "platform/TextLines.h"

class QListView;
class QMenu;
class QTabBar;
class QTreeView;
class QWidget;

namespace globe {
class TVoduz4;
}
namespace platform {
class FileSystem;
class RegionalSettings;
class UserDialogs;
}
namespace scenario {
class TForce;
struct TDocumentChange;
}

namespace editor {

class TCaseLinesModel;
class TEditorDocument;
class TForcesModel;
class TdkTimeline;
class TdlgForceInfo;
class TEditorActions;
class TSideSaver;

// The window's parts the case editing works on: its widgets and models, and the window's
// commands, saving and Problems panel.
struct TCaseEditorParts {
  QTreeView* lvForces = nullptr;
  QTabBar* tcCasesTabs = nullptr;
  QListView* lbPoints = nullptr;
  QMenu* puCaseList = nullptr;
  TForcesModel* forcesModel = nullptr;
  TCaseLinesModel* caseLines = nullptr;
  TdkTimeline* dkTimeline = nullptr;
  // The parent of the Edit force dialog, which also sees the case list's keys first.
  QWidget* window = nullptr;
  TEditorActions* actions = nullptr;
  TSideSaver* saving = nullptr;
  // Shows the document's diagnostics in the Problems panel, and the panel itself on reveal.
  std::function<void(bool reveal)> showProblems;
};

class TCaseEditor : public QObject {
  Q_OBJECT
 public:
  // The map, the document and the file system are the window's, replaced at each load or by a
  // test; the state is its shown force and case.
  TCaseEditor(const TCaseEditorParts& parts, std::unique_ptr<globe::TVoduz4>& globeMap,
              std::unique_ptr<TEditorDocument>& document, std::unique_ptr<platform::FileSystem>& files,
              platform::UserDialogs& dialogs, TEditState& state, const platform::RegionalSettings& regional,
              const std::string& programDir);

  // The commands, lists and document connected to the handlers below (once, at the start).
  void ConnectCaseEditing();
  // The document's force reader (a force whose header lines changed reads its block again, as
  // the loader does), set on each new document.
  void FollowDocument();
  // The commands enabled as the scenario, the forces list and the case list allow.
  void UpdateCommands();

  // ---- Forces list and case tabs -------------------------------------------------------------
  // The document's current force (null before the first force selection) and case tab (1..6).
  scenario::TForce* CurrentForce() const;
  int CurrentCase() const;
  // The forces list from the scenario's rows.
  void FillForcesList();
  // The force of the selected row of the forces list, or null.
  scenario::TForce* SelectedRowForce() const;
  // Makes a row of the forces list the current and selected one, through the force selection
  // or, quietly, without it.
  void SelectForceRow(int row, bool quietly);
  // Tabs whose case exists in the current force carry a dot.
  void MarkCaseTabs();
  // The case list shows a block of the side lines (a case that exists).
  bool CaseListShowsBlock() const { return caseListShowsBlock_; }
  // Before a new scenario replaces the old one: the lists let go of the old scenario's rows and
  // lines, the first tab is shown, no block is shown and no case message is said yet.
  void ForgetScenario();

  // ---- Case list -------------------------------------------------------------------------------
  // The selected line of the case list, or -1.
  int SelectedLine() const;
  // Selects a row of the case list (its selection then shows the line's point).
  void SelectLine(int row);
  // The shown case's route as the document parsed it again (after a mark drag), its reading's
  // messages said as at the first parse of the case list's lines.
  void ReparseCurrentCase();

  // ---- Steps -----------------------------------------------------------------------------------
  // Line `row` (0 is the "CASE" line, as in the case list) of case caseNumber of the force
  // replaced by text, or text inserted as that line, as one undoable step named stepName (by
  // default "Edit line ..." / "Insert line ..."). The force and case are then shown with the
  // line selected. False, with nothing changed, when the case or line is not there.
  bool ReplaceCaseLine(scenario::TForce& force, int caseNumber, int row, const std::string& text,
                       const QString& stepName = {});
  bool InsertCaseLine(scenario::TForce& force, int caseNumber, int row, const std::string& text,
                      const QString& stepName = {});

 private:
  void lvForcesSelectItem();
  void tcCasesChange();
  void lbPointsClick();
  void Edit1Click();
  void Insert1Click();
  void Delete1Click();
  void Addcase1Click();
  void Editforce1Click();
  // Shows the current case's block of the current force's side lines in the case list.
  void FillCaseList();
  // The force, case tab and selected case list line now shown.
  TEditPlace CurrentPlace() const;
  // The side lines of a force's side.
  platform::TextLines& SideLinesOf(const scenario::TForce& force);
  // Selects the current force's row again without running the selection.
  void ShowCurrentForceRow();
  // The force made the current one, its routes the document's parse of its side lines, and
  // the faults that end a case said (the selection's steps 2 to 4).
  void ParseForceCases(scenario::TForce& force);
  // Says a message of reading a case of the side once per load: a record of its line in the
  // Problems panel, and a message box unless the load's messages go to the panel only.
  void SayCaseMessage(int side, std::size_t line, const std::string& text);
  // The Edit force dialog on the force's header lines: the speed chosen, none on Cancel.
  std::optional<int> EditForceSpeed(const platform::TextLines& lines, const std::string& title);
  // "No" at a force change: the current force's side goes back to its last loaded or saved
  // lines as one undoable step.
  void DiscardSideChanges();
  // After a step was made or taken back: the forces list rebuilt when a force was read again,
  // the Problems panel and the dry run follow the document, and the step's place is shown.
  void DocumentChanged(const scenario::TDocumentChange& change, const TEditPlace& place);
  // Shows a place after a step: the force is selected without the save question, its cases are
  // parsed again, the tab and line selected and the map redrawn. Modified then says whether the
  // force's side has steps since it was last loaded or saved.
  void ShowEditPlace(const TEditPlace& place);

  QWidget* window_;
  TEditorActions& actions_;
  TSideSaver& saving_;
  std::function<void(bool reveal)> showProblems_;
  QTreeView* lvForces;
  QTabBar* tcCasesTabs;
  QListView* lbPoints;
  QMenu* puCaseList;
  TForcesModel* forcesModel_;
  TCaseLinesModel* caseLines_;
  TdkTimeline* dkTimeline;
  std::unique_ptr<globe::TVoduz4>& globeMap_;
  std::unique_ptr<TEditorDocument>& document_;
  std::unique_ptr<platform::FileSystem>& files_;
  platform::UserDialogs* dialogs_;
  TEditState& edit_;
  const platform::RegionalSettings& regional_;
  const std::string& programDir_;
  // The Edit force dialog, made at the first Edit force.
  TdlgForceInfo* dlgForceInfo = nullptr;
  // A force row selected without running the force selection.
  bool quietForceSelection_ = false;
  bool caseListShowsBlock_ = false;
  // The case messages said since the load: side, line index and text.
  std::set<std::tuple<int, std::size_t, std::string>> saidCaseMessages_;
  // A force was read again by the last step.
  bool forcesReread_ = false;
};

}  // namespace editor
