// Fonts, paint devices and windows need a QApplication; one is created for the whole run of
// each Qt test program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "corvalis_qt_tests";
      static char* argv[] = {name, nullptr};
      app_ = std::make_unique<QApplication>(argc, argv);
    }
    // Settings the programs remember go to a folder of the run, never the user's own.
    settingsDir_ = std::make_unique<QTemporaryDir>();
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
      QSettings::setPath(format, QSettings::UserScope, settingsDir_->path());
  }
  void TearDown() override {
    app_.reset();
    settingsDir_.reset();
  }

 private:
  std::unique_ptr<QApplication> app_;
  std::unique_ptr<QTemporaryDir> settingsDir_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
