#include <gtest/gtest.h>

#include "platform/TextLines.h"

namespace platform {
namespace {

TEST(SplitLines, EveryLineEndKindEndsOneLineAndTheLastMakesNoExtraLine) {
    const struct {
        std::string text;
        TextLines lines;
    } table[] = {
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\n\rb", {"a", "", "b"}},  // LF CR is two line ends, CR CR LF is two as well
        {"a\r\r\nb", {"a", "", "b"}},
        {"", {}},
        {"a\r", {"a"}},
        {"\r\n", {""}},
        {"a\r\n\r\n", {"a", ""}},
        {"a", {"a"}},
        {std::string("  x = 1 \t\r\n\xE4\xF6\x00\x1A\xFF", 16), {"  x = 1 \t", std::string("\xE4\xF6\x00\x1A\xFF", 5)}},
    };
    for (const auto& row : table) EXPECT_EQ(SplitLines(row.text), row.lines) << row.text;
}

TEST(JoinLinesCrLf, EndsEveryLineWithCrLfAndRereadsToTheSameLines) {
    EXPECT_EQ(JoinLinesCrLf({}), "");
    EXPECT_EQ(JoinLinesCrLf({""}), "\r\n");
    const TextLines lines = SplitLines("A=1\nB=2\rC=3\r\n\r\nD=4");
    const std::string written = JoinLinesCrLf(lines);
    EXPECT_EQ(written, "A=1\r\nB=2\r\nC=3\r\n\r\nD=4\r\n");
    EXPECT_EQ(SplitLines(written), lines);
}

}  // namespace
}  // namespace platform
