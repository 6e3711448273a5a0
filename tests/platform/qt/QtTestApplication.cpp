// Fonts and paint devices need a QGuiApplication; one is created for the whole test run.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QGuiApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "platform_qt_tests";
      static char* argv[] = {name, nullptr};
      app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
