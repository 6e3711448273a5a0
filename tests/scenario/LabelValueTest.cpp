#include <gtest/gtest.h>

#include "platform/testing/ScriptedDialogs.h"
#include "scenario/ConfigLines.h"
#include "scenario/LabelValue.h"

namespace scenario {
namespace {

using platform::testing::ScriptedDialogs;
using Reports = std::vector<std::string>;

class ReadLabelValueTest : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
};

TEST_F(ReadLabelValueTest, ReturnsTheValueAfterTheFirstEquals) {
    EXPECT_EQ(ReadLabelValue("NAME=Force H", "NAME", dialogs), "Force H");
    EXPECT_EQ(ReadLabelValue("A=B=C", "A", dialogs), "B=C");
    EXPECT_EQ(ReadLabelValue("A=B=C", "", dialogs), "B=C");
    EXPECT_EQ(ReadLabelValue("LL= 5130N 00010W ", "LL", dialogs), " 5130N 00010W ");
    EXPECT_EQ(ReadLabelValue("=x", "", dialogs), "x");
    EXPECT_TRUE(dialogs.Calls().empty());
}

TEST_F(ReadLabelValueTest, ReportsADifferentLabelAndReturnsNothing) {
    EXPECT_EQ(ReadLabelValue("NAME=Force H", "SPEED", dialogs), "");
    // Blanks belong to the label, and the comparison is case-sensitive.
    EXPECT_EQ(ReadLabelValue("NAME = Force H", "NAME", dialogs), "");
    EXPECT_EQ(ReadLabelValue("name=Force H", "NAME", dialogs), "");
    EXPECT_EQ(dialogs.Reports(),
              (Reports{"Error reading data line!\rSearched label: SPEED\rActual label: NAME",
                       "Error reading data line!\rSearched label: NAME\rActual label: NAME ",
                       "Error reading data line!\rSearched label: NAME\rActual label: name"}));
}

TEST_F(ReadLabelValueTest, ReportsAMissingEqualsSign) {
    EXPECT_EQ(ReadLabelValue("CASE1", "", dialogs), "CASE1");
    EXPECT_EQ(dialogs.Reports(), Reports{"Error in file data format! Missing \"=\"!\rLine: CASE1"});
    dialogs.ClearCalls();
    // With a label expected, the empty actual label is reported as well.
    EXPECT_EQ(ReadLabelValue("CASE1", "LL", dialogs), "");
    EXPECT_EQ(dialogs.Reports(),
              (Reports{"Error in file data format! Missing \"=\"!\rLine: CASE1",
                       "Error reading data line!\rSearched label: LL\rActual label: "}));
}

TEST_F(ReadLabelValueTest, CutsValuesTo200Characters) {
    std::string value(250, 'v');
    value[199] = 'x';
    EXPECT_EQ(ReadLabelValue("NOTE=" + value, "NOTE", dialogs), std::string(199, 'v') + "x");
    EXPECT_EQ(ReadLabelValue(value, "", dialogs), std::string(199, 'v') + "x");
    EXPECT_EQ(ReadLabelValue("", "", dialogs), "");
}

TEST(LineAt, IndexesOutsideTheLinesAreErrors) {
    platform::TextLines lines{"a", "b"};
    EXPECT_EQ(LineAt(lines, 1), "b");
    EXPECT_THROW(LineAt(lines, 2), ELineIndexError);
    EXPECT_THROW(LineAt(lines, -1), ELineIndexError);
    EXPECT_THROW(LineAt({}, 0), ELineIndexError);
}

}  // namespace
}  // namespace scenario
