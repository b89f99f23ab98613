#include "display/RegexScanner.h"

#include "display/RegexKeywords.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

using namespace Qt::StringLiterals;
using Spans = std::vector<std::pair<std::int64_t, std::int64_t>>;

Spans scan(const QString& pattern, RegexOptions options, const LogText& text,
           ScanOutcome* outcome = nullptr) {
    const auto compiled = RegexPattern::compile(pattern, options, nullptr);
    EXPECT_TRUE(compiled) << pattern.toStdString();
    Spans found;
    if (compiled) {
        RegexScanner scanner(compiled);
        const ScanOutcome result =
            scanner.scan(text, 0, text.size(), [&found](std::int64_t start, std::int64_t end) {
                found.emplace_back(start, end);
                return true;
            });
        if (outcome != nullptr) {
            *outcome = result;
        }
    }
    return found;
}

TEST(RegexScanner, MatchesEachLineOnItsOwnInPlaceOrCopiedAlike) {
    constexpr RegexOptions regex{};
    constexpr RegexOptions literal{false, true, false};
    constexpr RegexOptions words{false, true, true};
    const struct {
        QString pattern;
        RegexOptions options;
        QString text;
        Spans expected;
    } cases[] = {
        {u"^err"_s, regex, u"err\nx err\nERR"_s, {{0, 3}, {10, 13}}},
        {u"r$"_s, regex, u"err\r\nx er\rerr"_s, {{2, 3}, {8, 9}, {12, 13}}},
        {u"a\\sb"_s, regex, u"a\nb a b"_s, {{4, 7}}}, // no match holds a line end
        {u"x*"_s, regex, u"axxb\n"_s, {{1, 3}}},      // nothing of no characters
        {u"^|$|\\b"_s, regex, u"ab\ncd"_s, {}},       // never loops
        {u"err(or)? [0-9]{3}"_s, regex, u"Error 503, err 40, ERR 404"_s, {{0, 9}, {19, 26}}},
        {u"r.r"_s, regex, u"r\u0448r\nrxr"_s, {{0, 3}, {4, 7}}},
        {u"\u043e\u0448\u0438\u0431\u043a\u0430"_s,
         regex,
         u"x \u041e\u0428\u0418\u0411\u041a\u0410\nok"_s,
         {{2, 8}}},
        {u"k"_s, regex, u"\u212A and K\n"_s, {{0, 1}, {6, 7}}}, // the Kelvin sign folds to k
        {u"\u00b5"_s, regex, u"\u039c \u00b5"_s, {{0, 1}, {2, 3}}},
        {u"a.b"_s, literal, u"axb a.b\nA.B"_s, {{4, 7}, {8, 11}}},
        {u"cat"_s, words, u"cat concat cat_ cats \u0161cat cat"_s, {{0, 3}, {26, 29}}},
        {u"(?<=\\s)x"_s, regex, u" x\nx"_s, {{1, 2}}}, // a line start has nothing before it
    };
    for (const auto& c : cases) {
        EXPECT_EQ(scan(c.pattern, c.options, LogText(c.text)), c.expected)
            << c.pattern.toStdString();
        const LogText narrow = LogText::narrowed(c.text);
        ASSERT_TRUE(narrow.isNarrow());
        EXPECT_EQ(scan(c.pattern, c.options, narrow), c.expected) << c.pattern.toStdString();
    }
}

TEST(RegexScanner, BadPatternsEndWithinTheLimitOrSayWhy) {
    RegexError error;
    EXPECT_FALSE(RegexPattern::compile(u"err(or"_s, {}, &error));
    EXPECT_FALSE(error.message.isEmpty());
    EXPECT_EQ(error.offset, 6);
    EXPECT_EQ(RegexKeywords::problemOf(u"a["_s).isEmpty(), false);
    // A backtracking disaster gives its line up at the match limit.
    const QString run = QString(30, u'a') + u'b';
    ScanOutcome outcome;
    EXPECT_EQ(scan(u"(a+)+$"_s, {}, LogText(run + u"\nab\na"_s), &outcome),
              (Spans{{run.size() + 4, run.size() + 5}}));
    EXPECT_EQ(outcome.limitedLines, 1);
    // A huge pattern compiles and matches.
    const QString huge(10000, u'x');
    EXPECT_EQ(scan(huge, {}, LogText(u"y"_s + huge)), (Spans{{1, 10001}}));
}

} // namespace
} // namespace ombrel
