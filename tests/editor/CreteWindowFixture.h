#pragma once
// A main window on a scratch copy of a demo, driven through scripted dialogs.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QUndoStack>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

#include "editor/CaseEditor.h"
#include "editor/SideSaver.h"
#include "editor/EditMain.h"
#include "editor/EditorActions.h"
#include "editor/CaseLinesModel.h"
#include "editor/ForcesModel.h"
#include "platform/FileError.h"
#include "editor/ForceInfo.h"
#include "editor/AboutEdit.h"
#include "editor/ComputeEndurance.h"
#include "editor/ProblemsPanel.h"
#include "editor/TestForm.h"
#include "platform/qt/QtViewWidget.h"
#include "globe/view/Voduz4.h"
#include "platform/LocalFileSystem.h"
#include "platform/testing/ScriptedDialogs.h"
#include "scenario/Force.h"

namespace editor {
namespace fixtures {

namespace fs = std::filesystem;
using platform::DialogAnswer;
using platform::DialogButtons;
using platform::testing::DialogKind;
using platform::testing::ScriptedDialogs;

inline const std::string kProgramDir = std::string(CORVALIS_SOURCE_DIR) + "/data";
inline const fs::path kCrete = fs::path(kProgramDir) / "Scenarios" / "Crete1941";

constexpr std::int32_t kDegree = 5'400'000;
constexpr std::int32_t kMinute = 90'000;

inline globe::TGeoPoint NorthEast(std::int32_t latDeg, std::int32_t latMin, std::int32_t longDeg, std::int32_t longMin) {
  return globe::TGeoPoint(longDeg * kDegree + longMin * kMinute, latDeg * kDegree + latMin * kMinute);
}

inline std::string ReadFile(const fs::path& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::string ReplacedOnce(std::string text, const std::string& what, const std::string& with) {
  const std::size_t at = text.find(what);
  EXPECT_NE(at, std::string::npos) << what;
  if (at != std::string::npos) text.replace(at, what.size(), with);
  return text;
}

class FullDiskFileSystem : public platform::LocalFileSystem {
 public:
  void ReplaceBytes(const std::string& name, std::string_view) override {
    throw platform::EFileError("Cannot write file \"" + name + "\". No space left on device", name);
  }
};

class CreteWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    root = fs::temp_directory_path() / ("corvalis_cases_" + std::to_string(random()));
    scenarioDir = root / "Crete1941";
    fs::create_directories(root);
    window = NewWindow(dialogs);
  }
  // A window on the demos' program folder, without the splash, answered by its own script.
  static std::unique_ptr<TfrmEditMain> NewWindow(ScriptedDialogs*& scriptedOut) {
    auto made = std::make_unique<TfrmEditMain>(std::make_unique<ScriptedDialogs>());
    scriptedOut = &dynamic_cast<ScriptedDialogs&>(made->Dialogs());
    made->SetSplashOnShow(false);
    made->SetProgramDir(kProgramDir);
    return made;
  }
  void TearDown() override {
    window.reset();
    fs::current_path(startDir);
    std::error_code ec;
    fs::permissions(scenarioDir, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root, ec);
  }
  void Load(const fs::path& demo = kCrete) {
    fs::create_directories(scenarioDir);
    for (const auto& entry : fs::directory_iterator(demo)) fs::copy_file(entry.path(), scenarioDir / entry.path().filename());
    if (prepare) prepare();
    dialogs->QueueDirectory(scenarioDir.string());
    window->Actions()[TCommand::Open]->trigger();
    ASSERT_TRUE(dialogs->Reports().empty()) << dialogs->Reports().front();
    dialogs->ClearCalls();
  }
  // A control of the window by its object name.
  template <class T>
  T* Child(const char* name) const {
    return window->findChild<T*>(name);
  }
  QTreeView& ForcesView() const { return *window->findChild<QTreeView*>("lvForces"); }
  QListView& CaseList() const { return *window->findChild<QListView*>("lbPoints"); }
  // A cell of the forces list in the row of the force named name; empty when none is listed.
  QString ForceCell(const QString& name, int column) const {
    const int row = window->Forces().RowOf(name);
    return row < 0 ? QString() : window->Forces().index(row, column).data().toString();
  }
  void SelectForceRow(int row) {
    ForcesView().clearSelection();
    ForcesView().selectionModel()->select(window->Forces().index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  void SelectForce(const QString& name) {
    const int row = window->Forces().RowOf(name);
    ASSERT_GE(row, 0) << name.toStdString();
    SelectForceRow(row);
  }
  scenario::TForce& Force(const std::string& title) {
    for (scenario::TForce* force : window->Scenario().ForceList) {
      if (force->Title() == title) return *force;
    }
    throw std::invalid_argument("no force " + title);
  }
  void SelectLine(int row) {
    CaseList().setCurrentIndex(window->CaseLines().index(row));
    ASSERT_TRUE(CaseList().selectionModel()->isRowSelected(row));
  }
  // The case list's current row, -1 for none.
  int CurrentLine() const { return CaseList().currentIndex().row(); }
  void SelectTab(int index) { Child<QTabBar>("tcCasesTabs")->setCurrentIndex(index); }
  platform::TextLines ShownLines() const { return window->CaseLines().Lines(); }
  bool Modified() const { return window->Scenario().Modified; }
  std::string AxisFile() const { return ReadFile(scenarioDir / "AxisShips.cfg"); }
  std::string OriginalAxisFile() const { return ReadFile(kCrete / "AxisShips.cfg"); }
  std::vector<std::string> Errors() const { return dialogs->Texts(DialogKind::Error); }
  void EditLupoWaypoint() {
    SelectForce("Lupo convoy");
    SelectLine(3);
    dialogs->QueueInput("WP=3705N 02410E");
    window->Actions()[TCommand::EditLine]->trigger();
  }
  // Runs on the copy before it is loaded.
  std::function<void()> prepare;
  ScriptedDialogs* dialogs = nullptr;
  std::unique_ptr<TfrmEditMain> window;
  fs::path root;
  fs::path scenarioDir;
  fs::path startDir = fs::current_path();
};

// The Crete window of the editing tests, loaded and shown.
class ShownCreteWindowTest : public CreteWindowTest {
 protected:
  void SetUp() override {
    CreteWindowTest::SetUp();
    Load();
    if (HasFatalFailure()) return;
    window->show();
    QCoreApplication::processEvents();
  }
};

}  // namespace fixtures
}  // namespace editor
