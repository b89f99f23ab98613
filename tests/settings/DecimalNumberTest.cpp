#include "settings/DecimalNumber.h"

#include <QString>
#include <gtest/gtest.h>

using ombrel::parseLeadingDecimal;

TEST(DecimalNumber, ReadsBlanksSignAndDigitsUpToTheFirstOtherCharacterAndSaturates) {
    constexpr std::int32_t max = INT32_MAX;
    constexpr std::int32_t min = INT32_MIN;
    const std::pair<const char16_t*, std::optional<std::int32_t>> cases[] = {
        {u"250 words", 250},  {u" \t-17x", -17},        {u"+8", 8},
        {u"", std::nullopt},  {u"words", std::nullopt}, {u"- 5", std::nullopt},
        {u"2147483648", max}, {u"-2147483649", min},    {u"99999999999999999999999999999999", max},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parseLeadingDecimal(text), expected) << QString::fromUtf16(text).toStdString();
    }
    EXPECT_EQ(ombrel::decimalOrZero(u"x12"), 0);
}
