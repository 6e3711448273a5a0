#include <gtest/gtest.h>

#include "platform/ConvertError.h"
#include "platform/IntegerText.h"
#include "tests/support/ThrownMessage.h"

namespace platform {
namespace {

using corvalis::testing::ThrownMessage;

TEST(StrToInt, AcceptsLeadingBlanksOneSignAndHexPrefixes) {
    EXPECT_EQ(StrToInt("12"), 12);
    EXPECT_EQ(StrToInt("   -12"), -12);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("007"), 7);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("0X10"), 16);
    EXPECT_EQ(StrToInt(" -$10"), -16);
}

TEST(StrToInt, KeepsTheFull32BitRange) {
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    // Hexadecimal covers 32 bits and wraps into the negative range.
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("$80000000"), INT32_MIN);
    EXPECT_EQ(StrToInt("$000000000000007F"), 127);
}

TEST(StrToInt, RejectsEverythingElse) {
    for (const char* bad : {"", " ", "-", "+", "$", "0x", "12 ", "1a", "abc", "--5", "+-5",
                            "\t5", "1.0", "1e3", "2147483648", "-2147483649", "$100000000",
                            "99999999999999999999", "$G", "5$", " - 5"}) {
        EXPECT_FALSE(TryStrToInt(bad).has_value()) << '"' << bad << '"';
    }
    EXPECT_FALSE(TryStrToInt(std::string_view("1\0", 2)).has_value());
}

TEST(StrToInt, ErrorNamesTheText) {
    EXPECT_EQ(ThrownMessage<EConvertError>([&] { StrToInt("12x"); }),
              "'12x' is not a valid integer value");
}

TEST(StrToIntDef, YieldsTheFallbackOnlyForBadTexts) {
    EXPECT_EQ(StrToIntDef("abc", 0), 0);
    EXPECT_EQ(StrToIntDef("", 5), 5);
    EXPECT_EQ(StrToIntDef("45", 0), 45);
}

TEST(WrapToInt32, WrapsLikeTwosComplement) {
    EXPECT_EQ(WrapToInt32(2147483648LL), INT32_MIN);
    EXPECT_EQ(WrapToInt32(4294967296LL + 5), 5);
    EXPECT_EQ(WrapToInt32(-2147483649LL), INT32_MAX);
}

}  // namespace
}  // namespace platform
