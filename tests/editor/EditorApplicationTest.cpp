// The text shown for an error that reached the event loop.
#include <gtest/gtest.h>

#include <stdexcept>

#include "editor/EditorApplication.h"

namespace editor {
namespace {

TEST(UncaughtErrorText, ShowsTheErrorsOwnTextOrAGeneralOne) {
  EXPECT_EQ(UncaughtErrorText(std::make_exception_ptr(std::runtime_error("Cannot find base X!"))),
            "Cannot find base X!");
  EXPECT_EQ(UncaughtErrorText(std::make_exception_ptr(std::runtime_error(""))),
            "An unexpected error occurred.");
  EXPECT_EQ(UncaughtErrorText(std::make_exception_ptr(42)), "An unexpected error occurred.");
  EXPECT_EQ(UncaughtErrorText(nullptr), "An unexpected error occurred.");
}

}  // namespace
}  // namespace editor
