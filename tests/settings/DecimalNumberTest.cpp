#include "settings/DecimalNumber.h"

#include <gtest/gtest.h>
#include <limits>

using ombrel::decimalOrZero;
using ombrel::parseLeadingDecimal;

TEST(DecimalNumber, ReadsLeadingBlanksSignAndDigitsUpToTheFirstOtherCharacter) {
    EXPECT_EQ(parseLeadingDecimal(u"250 words"), 250);
    EXPECT_EQ(parseLeadingDecimal(u" \t-17x"), -17);
    EXPECT_EQ(parseLeadingDecimal(u"+8"), 8);
    EXPECT_EQ(parseLeadingDecimal(u"42abc"), 42);
}

TEST(DecimalNumber, TextWithoutLeadingNumberGivesNothing) {
    EXPECT_EQ(parseLeadingDecimal(u""), std::nullopt);
    EXPECT_EQ(parseLeadingDecimal(u"words"), std::nullopt);
    EXPECT_EQ(parseLeadingDecimal(u"-"), std::nullopt);
    EXPECT_EQ(parseLeadingDecimal(u"- 5"), std::nullopt);
    EXPECT_EQ(decimalOrZero(u"x12"), 0);
}

TEST(DecimalNumber, SaturatesInsteadOfOverflowing) {
    constexpr auto max = std::numeric_limits<std::int32_t>::max();
    constexpr auto min = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(parseLeadingDecimal(u"2147483647"), max);
    EXPECT_EQ(parseLeadingDecimal(u"2147483648"), max);
    EXPECT_EQ(parseLeadingDecimal(u"-2147483648"), min);
    EXPECT_EQ(parseLeadingDecimal(u"-2147483649"), min);
    EXPECT_EQ(parseLeadingDecimal(u"99999999999999999999999999999999"), max);
    EXPECT_EQ(parseLeadingDecimal(u"-99999999999999999999999999999999"), min);
}
