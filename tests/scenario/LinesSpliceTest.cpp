// Undo steps of side lines: the splice between two versions, made and taken back exactly, and
// single case lines replaced or inserted in a force's mission.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "scenario/CaseLineEdit.h"
#include "scenario/LinesSplice.h"

namespace scenario {
namespace {

using platform::TextLines;

struct SpliceCase {
  const char* name;
  TextLines before;
  TextLines after;
  std::size_t first;
  TextLines removed;
  TextLines inserted;
};

TEST(LinesSpliceTest, DiffIsTheSmallestChangeAndRoundTripsExactly) {
  const SpliceCase cases[] = {
      {"one line edited", {"a", "b", "c"}, {"a", "B", "c"}, 1, {"b"}, {"B"}},
      {"line inserted as a copy", {"a", "b", "c"}, {"a", "b", "b", "c"}, 2, {}, {"b"}},
      {"line deleted", {"a", "b", "c"}, {"a", "c"}, 1, {"b"}, {}},
      {"no change", {"a", "b"}, {"a", "b"}, 2, {}, {}},
      {"from nothing", {}, {"x"}, 0, {}, {"x"}},
      {"to nothing", {"x", "y"}, {}, 0, {"x", "y"}, {}},
      {"bytes kept: trailing blank and CR", {"WP=1 ", "b\r"}, {"WP=1", "b\r"}, 0, {"WP=1 "}, {"WP=1"}},
      {"repeated lines", {"a", "a", "a"}, {"a", "a"}, 2, {"a"}, {}},
      {"two runs apart become one", {"a", "b", "c", "d"}, {"A", "b", "c", "D"}, 0, {"a", "b", "c", "d"},
       {"A", "b", "c", "D"}},
  };
  for (const SpliceCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TLinesSplice splice = DiffLines(c.before, c.after);
    EXPECT_EQ(splice.First, c.first);
    EXPECT_EQ(splice.Removed, c.removed);
    EXPECT_EQ(splice.Inserted, c.inserted);
    EXPECT_EQ(splice.Empty(), c.before == c.after);
    TextLines lines = c.before;
    ApplySplice(lines, splice);
    EXPECT_EQ(lines, c.after);
    RevertSplice(lines, splice);
    EXPECT_EQ(lines, c.before);
  }
}

TEST(LinesSpliceTest, ASpliceOfOtherLinesIsRefusedAndChangesNothing) {
  const TLinesSplice splice = DiffLines({"a", "b", "c"}, {"a", "B", "c"});
  TextLines other = {"a", "x", "c"};
  EXPECT_THROW(ApplySplice(other, splice), std::logic_error);
  EXPECT_EQ(other, (TextLines{"a", "x", "c"}));
  TextLines shorter = {"a"};
  EXPECT_THROW(RevertSplice(shorter, splice), std::logic_error);
  EXPECT_EQ(shorter, TextLines{"a"});
}

const TextLines kMission = {
    "NAME=Force A1",   // 0
    "CASECOUNT=2",     // 1
    "CASE1",           // 2
    "WP=3500N 02300E",  // 3
    "WP=3510N 02310E",  // 4
    "CASE2",           // 5
    "WP=3600N 02400E",  // 6
    "ENDMISSION",      // 7
};

TEST(CaseLineEditTest, ReplacesAndInsertsWithinTheCaseBlockOnly) {
  const auto replaced = WithCaseLineReplaced(kMission, "force a1", 1, 2, "WP=3520N 02320E");
  ASSERT_TRUE(replaced);
  TextLines expected = kMission;
  expected[4] = "WP=3520N 02320E";
  EXPECT_EQ(*replaced, expected);

  const auto inserted = WithCaseLineInserted(kMission, "Force A1", 2, 1, "WP=3550N 02350E");
  ASSERT_TRUE(inserted);
  expected = kMission;
  expected.insert(expected.begin() + 6, "WP=3550N 02350E");
  EXPECT_EQ(*inserted, expected);

  // After the block's last line: still inside the case, before "ENDMISSION".
  const auto appended = WithCaseLineInserted(kMission, "Force A1", 2, 2, "TP=3700N 02500E");
  ASSERT_TRUE(appended);
  EXPECT_EQ((*appended)[7], "TP=3700N 02500E");
  EXPECT_EQ((*appended)[8], "ENDMISSION");
}

TEST(CaseLineEditTest, MissingForceCaseOrRowGivesNothing) {
  EXPECT_FALSE(WithCaseLineReplaced(kMission, "Force B", 1, 1, "x"));
  EXPECT_FALSE(WithCaseLineReplaced(kMission, "Force A1", 3, 0, "x"));  // no case 3
  EXPECT_FALSE(WithCaseLineReplaced(kMission, "Force A1", 1, 3, "x"));  // the block has 3 lines
  EXPECT_FALSE(WithCaseLineInserted(kMission, "Force A1", 1, 0, "x"));  // above "CASE1"
  EXPECT_FALSE(WithCaseLineInserted(kMission, "Force A1", 1, 4, "x"));
  const TextLines noCases = {"NAME=Force A1", "CASECOUNT=0", "ENDMISSION"};
  EXPECT_FALSE(WithCaseLineInserted(noCases, "Force A1", 1, 1, "x"));
}

}  // namespace
}  // namespace scenario
