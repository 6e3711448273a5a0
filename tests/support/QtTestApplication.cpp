// One QApplication for the whole run of each Qt test program; settings and data go to a temporary
// folder (never the user's own configuration) and are emptied before every test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

#include "editor/EditorSettings.h"

namespace {

class ClearSettingsBeforeEachTest : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    editor::EditorSettings().clear();
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
  }
};

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    settingsDir_ = std::make_unique<QTemporaryDir>();
    const QString folder = settingsDir_->path();
    qputenv("XDG_CONFIG_HOME", folder.toUtf8());
    // The user's data folder too (the unsaved lines kept for a restart after a crash).
    qputenv("XDG_DATA_HOME", folder.toUtf8());
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
      for (const auto scope : {QSettings::UserScope, QSettings::SystemScope}) QSettings::setPath(format, scope, folder);
    if (QApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "corvalis_qt_tests";
      static char* argv[] = {name, nullptr};
      app_ = std::make_unique<QApplication>(argc, argv);
    }
    ::testing::UnitTest::GetInstance()->listeners().Append(new ClearSettingsBeforeEachTest);
  }
  void TearDown() override {
    app_.reset();
    settingsDir_.reset();
  }

 private:
  std::unique_ptr<QTemporaryDir> settingsDir_;
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
