// The endurance calculator: factor table, rounding and the dialog's check of the range.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <climits>

#include "editor/ComputeEndurance.h"
#include "platform/testing/ScriptedDialogs.h"

namespace editor {
namespace {

using platform::testing::DialogKind;
using platform::testing::ScriptedDialogs;

TEST(FuelFactor, TableEdgesAndOutsideValues) {
  const struct {
    int speed;
    double factor;
  } cases[] = {{1, 0.3},  {9, 0.3},  {10, 0.32}, {12, 0.37}, {18, 0.8},  {20, 1.0},  {22, 1.25},
               {32, 4.8}, {33, 5.5}, {35, 5.5},  {100, 5.5}, {101, 1.0}, {0, 1.0},  {-3, 1.0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(FuelFactor(c.speed), c.factor) << c.speed;
  for (int speed = 9; speed < 33; ++speed) EXPECT_LT(FuelFactor(speed), FuelFactor(speed + 1)) << speed;
}

TEST(EnduranceFor, WorkedExamplesHalvesAndLimits) {
  const struct {
    int speed, range, hours;
  } cases[] = {
      {18, 3000, 133},    // 166.67 * 0.8 = 133.33
      {20, 100, 5},       // 5 * 1.0
      {12, 150, 5},       // 12.5 * 0.37 = 4.625
      {35, 700, 110},     // 20 * 5.5
      {18, -3000, -133},
      {5, 25, 2},         // halves round to even: 25 / 5 * 0.3 = 1.5 -> 2
      {5, 75, 4},         // 75 / 5 * 0.3 = 4.5 -> 4
      {0, 3000, 0},       // no speed
      {-5, 3000, 0},
      // The largest factor per knot is 0.3 (1 knot): INT_MAX * 0.3 = 644245094.1.
      {1, INT_MAX, 644245094},
      {1, INT_MIN, -644245094},
  };
  for (const auto& c : cases) EXPECT_EQ(EnduranceFor(c.speed, c.range), c.hours) << c.speed << " " << c.range;
}

TEST(ComputeEnduranceDialog, TitleAndEmptyResult) {
  ScriptedDialogs dialogs;
  TdlgComputeEndurance dialog(dialogs);
  EXPECT_EQ(dialog.windowTitle(), "Compute endurance");
  EXPECT_TRUE(dialog.stResult->text().isEmpty());
  EXPECT_TRUE(dialog.bnCalculate->isDefault());
  EXPECT_EQ(dialog.stResult->alignment() & Qt::AlignRight, Qt::AlignRight);
}

TEST(ComputeEnduranceDialog, CalculatesFromTheBoxesAndReportsAZeroRange) {
  ScriptedDialogs dialogs;
  TdlgComputeEndurance dialog(dialogs);
  dialog.bnCalculateClick();
  EXPECT_EQ(dialog.stResult->text(), "133 hours");
  dialog.seRange->setValue(150);
  dialog.seSpeed->setValue(12);
  dialog.bnCalculateClick();
  EXPECT_EQ(dialog.stResult->text(), "5 hours");
  dialog.seSpeed->setValue(99);  // held to the box's limit of 35
  dialog.seRange->setValue(700);
  dialog.bnCalculateClick();
  EXPECT_EQ(dialog.stResult->text(), "110 hours");
  EXPECT_TRUE(dialogs.Calls().empty());

  // A zero range is reported and the last result stays.
  dialog.seRange->setValue(0);
  dialog.bnCalculateClick();
  ASSERT_EQ(dialogs.Texts(DialogKind::Message).size(), 1u);
  EXPECT_EQ(dialogs.Texts(DialogKind::Message)[0], "You must enter a range other than zero!");
  EXPECT_EQ(dialog.stResult->text(), "110 hours");
}

}  // namespace
}  // namespace editor
