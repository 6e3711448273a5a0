#include <gtest/gtest.h>

#include "platform/TextLines.h"

namespace platform {
namespace {

using Lines = TextLines;

TEST(SplitLines, EveryLineEndKindEndsOneLine) {
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    // LF CR is two line ends, CR CR LF is two as well.
    EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
}

TEST(SplitLines, FinalLineEndMakesNoExtraLine) {
    EXPECT_EQ(SplitLines(""), Lines{});
    EXPECT_EQ(SplitLines("a\r\n"), Lines{"a"});
    EXPECT_EQ(SplitLines("a\r"), Lines{"a"});
    EXPECT_EQ(SplitLines("a\n"), Lines{"a"});
    EXPECT_EQ(SplitLines("\r\n"), Lines{""});
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (Lines{"a", ""}));
    EXPECT_EQ(SplitLines("a"), Lines{"a"});
}

TEST(SplitLines, KeepsBlanksAndEveryOtherByte) {
    const char raw[] = "  x = 1 \t\r\n\xE4\xF6\x00\x1A\xFF";
    const std::string bytes(raw, sizeof raw - 1);
    Lines lines = SplitLines(bytes);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "  x = 1 \t");
    EXPECT_EQ(lines[1], std::string("\xE4\xF6\x00\x1A\xFF", 5));
}

TEST(JoinLinesCrLf, EndsEveryLineWithCrLf) {
    EXPECT_EQ(JoinLinesCrLf({}), "");
    EXPECT_EQ(JoinLinesCrLf({""}), "\r\n");
    EXPECT_EQ(JoinLinesCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

TEST(JoinLinesCrLf, RereadsToTheSameLinesWhateverTheOriginalLineEnds) {
    const std::string original = "A=1\nB=2\rC=3\r\n\r\nD=4";
    Lines lines = SplitLines(original);
    std::string written = JoinLinesCrLf(lines);
    EXPECT_EQ(written, "A=1\r\nB=2\r\nC=3\r\n\r\nD=4\r\n");
    EXPECT_EQ(SplitLines(written), lines);
}

}  // namespace
}  // namespace platform
