#pragma once
// The main window of the scenario editor: toolbar, forces list, case tabs and list, the map,
// the position memo and the status bar, with the state of the loaded scenario and its edits.
#include <QMainWindow>
#include <array>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "editor/EditPlace.h"
#include "editor/EditState.h"
#include "editor/EditorDocument.h"
#include "globe/data/GeoTypes.h"
#include "globe/data/LandIndex.h"
#include "platform/RegionalSettings.h"
#include "platform/TextLines.h"
#include "platform/UserDialogs.h"
#include "platform/ViewEvents.h"
#include "editor/RecentScenarios.h"
#include "scenario/ForceCases.h"
#include "scenario/LintFinding.h"
#include "scenario/Diagnostic.h"
#include "scenario/RouteHitTest.h"
#include "scenario/RouteLegs.h"
#include "scenario/ScenarioState.h"

class QAction;
class QLabel;
class QListView;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QTabBar;
class QTimer;
class QToolButton;
class QTreeView;
class QUndoStack;

namespace globe {
class TCustomVoduz4;
class TVoduz4;
}
namespace platform {
class FileSystem;
class QtViewWidget;
}
namespace scenario {
class TForce;
}

namespace editor {

class TCaseEditor;
class TCaseLinesModel;
class TEditorActions;
class TForcesModel;
class TMapTools;
class TRecoveryKeeper;
class TScenarioSaveAs;
class TShownCase;
class TSideSaver;
class TdkProblems;
class TdkTimeline;
class TdlgAbout;
class TdlgComputeEndurance;
class TdlgForceInfo;
class TfrmShowFile;

// One hour as a date-time (days); set when the main window is first shown.
extern double OneHour;

using scenario::kCaseCount;

// Gives the map's labels the readable look (placed, haloed, legible size) or the plain look.
void ShowReadableLabels(globe::TVoduz4& map, bool readable);
// A map with the start settings (and the chosen label look), as the window opens with it and as each load starts from.
std::unique_ptr<globe::TVoduz4> NewGlobeMap();
// The program's folder (its "Data" subfolder holds the map data): the one set, else the
// executable's.
std::string ProgramFolder(const std::string& programDir);
// 0 for the Axis side, 1 for the Allied side.
int SideOf(const scenario::TForce& force);

class TfrmEditMain : public QMainWindow {
  Q_OBJECT
 public:
  // Messages and file choices go through dialogs; without one the toolkit's dialogs are used.
  explicit TfrmEditMain(std::unique_ptr<platform::UserDialogs> dialogs = nullptr,
                        QWidget* parent = nullptr);
  ~TfrmEditMain() override;

  // ---- Scenario state ------------------------------------------------------------------------
  // The loaded scenario: directory, kind, start, forces, bases, each side's file lines and the
  // Modified flag. Its objects live in the map's layers.
  scenario::TScenarioState& Scenario() const { return document_->State(); }
  // The selected force, its case tab and parsed cases, the circled point.
  const TEditState& EditState() const { return edit_; }

  // Date and number formats of the user's locale.
  const platform::RegionalSettings& Regional() const { return regional_; }
  platform::UserDialogs& Dialogs() { return *dialogs_; }

  // The map view shown in Globe, owned by the window and set up with the start settings.
  globe::TVoduz4& GlobeMap() { return *globeMap_; }
  // The view whose environment Save environment writes: GlobeMap unless another is set.
  void SetGlobeView(globe::TCustomVoduz4* view) { globeView_ = view; }

  // The program's own folder (its "Data" subfolder holds the map data); by default the folder
  // of the executable.
  // Also shows that folder's world on the map while no scenario is open.
  void SetProgramDir(std::string dir);

  // Whether the first showing of the window opens the About box as splash (on by default).
  void SetSplashOnShow(bool on) { splashOnShow_ = on; }

  // ---- Commands ------------------------------------------------------------------------------
  // The window's commands, one action each, used by its menus, toolbar, popups and keys.
  TEditorActions& Actions() { return *actions_; }

  // ---- Working sessions (EditMainSession.cpp) ------------------------------------------------
  // Opens a scenario or campaign directory. A directory that holds neither shows its message
  // and changes nothing; then each side with unsaved lines is asked about (Cancel keeps the
  // current scenario). The directory is loaded into a new map and scenario as at the program's
  // start; only a complete load replaces the current ones (an error that ends the load, such as
  // a missing "Data" folder or an unreadable file, is shown and changes nothing). Returns
  // whether the directory was loaded.
  bool OpenDirectory(const std::string& given);
  // A directory to open once the window is shown, after the splash (the command line's).
  void SetStartDirectory(std::string dir) { startDirectory_ = std::move(dir); }
  const TRecentScenarios& RecentScenarios() const { return recent_; }
  // Shows where a problem is: the force, case and case-list line it belongs to, else the file
  // in the viewer at its line.
  void ShowProblem(const scenario::TDiagnostic& problem);
  // Window geometry and state, splitters and the forces list's columns, kept in the settings.
  void SaveLayout();
  void RestoreLayout();

  // The case list's model: the shown case's block of the side lines, by row.
  const TCaseLinesModel& CaseLines() const { return *caseLines_; }
  // The forces list's model.
  const TForcesModel& Forces() const { return *forcesModel_; }
  // The forces list, case tabs and case list and their edits.
  TCaseEditor& CaseEditor() const { return *caseEditor_; }

  // ---- Undo and redo (editor/EditorDocument.h) -------------------------------------------------
  // The steps of the loaded scenario's edits: emptied and clean at load, clean at each save.
  QUndoStack& UndoStack() { return *undoStack_; }
  // The Problems panel: the load messages, then the findings; shown too when reveal is set.
  void ShowProblems(bool reveal = false);

  // ---- Saving (editor/SideSaver.h) -------------------------------------------------------------
  // Save and the questions about unsaved sides.
  TSideSaver& Saving() const { return *saver_; }
  // Where scenario files are read and written; by default the local file system.
  void SetFileSystem(std::unique_ptr<platform::FileSystem> files);
  platform::FileSystem& Files();

  // ---- Map interaction (EditMainMap.cpp) ------------------------------------------------------
  // The map's tools (measuring, Pick point, mark drag, insert on a leg, box zoom) and the one
  // at work.
  TMapTools& MapTools() { return *tools_; }

  // ---- Navigation (EditMainNavigation.cpp) ----------------------------------------------------
  // After a load: zooms to the scenario when the environment's view does not show it.
  void ShowScenarioIfAway();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // ---- Controls ------------------------------------------------------------------------------
  QWidget* pnToolbar = nullptr;
  QToolButton* sbLoad = nullptr;
  QToolButton* ZoomInBtn = nullptr;
  QToolButton* ZoomOutBtn = nullptr;
  QLabel* stTime = nullptr;
  QSplitter* pnLeft = nullptr;  // forces list above, speed panel and case tabs below
  QTreeView* lvForces = nullptr;
  QWidget* pnSpeed = nullptr;
  QWidget* tcCases = nullptr;  // the tab control: the tab row and the case list under it
  QTabBar* tcCasesTabs = nullptr;
  QListView* lbPoints = nullptr;
  QSplitter* pnMain = nullptr;  // left panel | map | memo
  // The map window; it shows GlobeMap().
  platform::QtViewWidget* Globe = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  std::array<QLabel*, 3> StatusPanels{};

  QMenu* File1 = nullptr;
  QMenu* Edit2 = nullptr;
  QMenu* Recent1 = nullptr;  // File > Recent scenarios
  QMenu* Tools1 = nullptr;
  QMenu* View1 = nullptr;
  QWidget* frmLegend = nullptr;  // the legend window, made at its first showing
  QMenu* Map1 = nullptr;  // never shown
  QMenu* About2 = nullptr;
  QMenu* puForces = nullptr;
  QMenu* puCaseList = nullptr;
  QAction* AddcaseSeparator = nullptr;

  TfrmShowFile* frmShowFile = nullptr;
  TdlgComputeEndurance* dlgComputeEndurance = nullptr;
  TdlgAbout* dlgAbout = nullptr;
  // The messages of the last load (View > Problems).
  TdkProblems* dkProblems = nullptr;
  // View > Timeline: the dry run played on the map.
  TdkTimeline* dkTimeline = nullptr;

  void CreateToolbar(QWidget* parent);
  void CreateLeftPanel();
  void CreateMenus();
  void CreateViewMenu();
  void CreatePopups();
  void CreateStatusBar();
  void CreateSessionMenus();
  // The Timeline dock: its command, what it plays, the map's redraw and its force selection.
  void CreateTimelineDock();
  // The view's render event: the bases' ranges and minefields, then the current force's routes.
  void GlobeRender(globe::TVoduz4& view);
  // Hooks the map's mouse and paint events to the handlers above.
  void ConnectMapEvents();
  void HookMapEvents();
  // Puts a loaded map and scenario in place of the current ones, which are freed.
  void InstallScenario(std::unique_ptr<globe::TVoduz4> map, std::unique_ptr<scenario::TScenarioState> state);
  // Forgets the selected force, its cases, the pick, the measuring origin and the memo.
  void ResetEditState();
  void RebuildRecentMenu();
  void ClickMapObject(int x, int y);
  void ShowHoverTooltip();
  // The whole scenario checked after a load, against the land of its map.
  void CheckLoadedScenario(std::vector<scenario::TDiagnostic> loadMessages);

  std::unique_ptr<platform::UserDialogs> dialogs_;
  platform::RegionalSettings regional_;
  std::unique_ptr<globe::TVoduz4> globeMap_;
  std::unique_ptr<TEditorDocument> document_;  // after the map, which holds the scenario's objects
  std::unique_ptr<platform::FileSystem> files_;
  QUndoStack* undoStack_ = nullptr;
  TForcesModel* forcesModel_ = nullptr;
  TCaseLinesModel* caseLines_ = nullptr;
  TEditorActions* actions_ = nullptr;
  TEditState edit_;
  // The land the document's checks test against, made once per load.
  std::unique_ptr<globe::TLandIndex> land_;
  TCaseEditor* caseEditor_ = nullptr;
  std::unique_ptr<TSideSaver> saver_;
  TScenarioSaveAs* saveAs_ = nullptr;  // File > Save scenario as, the read-only note
  // The unsaved lines kept aside for a restart after a crash.
  TRecoveryKeeper* recovery_ = nullptr;
  globe::TCustomVoduz4* globeView_ = nullptr;
  std::string programDir_;
  // The current directory at the program's start: a relative folder name is taken from it, so
  // that nothing depends on the current directory later (a load changes it; it may go away).
  std::string launchFolder_;
  std::string startDirectory_;
  TRecentScenarios recent_;
  bool splashOnShow_ = true;
  bool shown_ = false;
  // Wheel turns short of a notch, kept for the next event (fine wheels and touch pads).
  int wheelRest_ = 0;
  // A loaded scenario waits for the window's size to be zoomed to.
  bool showScenarioPending_ = false;
  std::unique_ptr<TShownCase> shownCase_;
  std::unique_ptr<TMapTools> tools_;
  QTimer* hoverTimer_ = nullptr;
  platform::TPoint hoverAt_{};
};

}  // namespace editor
