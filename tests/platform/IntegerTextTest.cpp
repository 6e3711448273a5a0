#include <gtest/gtest.h>

#include <utility>

#include "platform/ConvertError.h"
#include "platform/IntegerText.h"
#include "tests/support/ThrownMessage.h"

namespace platform {
namespace {

using corvalis::testing::ThrownMessage;

TEST(StrToInt, AcceptsBlanksOneSignHexPrefixesAndTheFull32BitRange) {
    // Hexadecimal covers 32 bits and wraps into the negative range.
    const std::pair<const char*, int32_t> table[] = {
        {"12", 12},          {"   -12", -12},      {"+7", 7},           {"007", 7},
        {"$1F", 31},         {"0x1f", 31},         {"0X10", 16},        {" -$10", -16},
        {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}, {"$FFFFFFFF", -1},
        {"$80000000", INT32_MIN},  {"$000000000000007F", 127}};
    for (const auto& [text, value] : table) EXPECT_EQ(StrToInt(text), value) << '"' << text << '"';
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
