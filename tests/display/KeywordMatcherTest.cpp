#include "display/KeywordMatcher.h"

#include "display/MarkBuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ombrel {
namespace {

using namespace Qt::StringLiterals;
using testing::ElementsAre;
using Starts = std::vector<std::int64_t>;

// Start positions of each keyword in text, the same when the text is held narrow.
std::vector<Starts> find(const QStringList& keywords, const QString& text) {
    const auto found = KeywordMatcher(keywords).findAll(text);
    EXPECT_TRUE(found.has_value());
    {
        const auto held = KeywordMatcher(keywords).findAll(LogText::narrowed(text));
        for (std::size_t k = 0; held && k < held->size(); ++k) {
            EXPECT_EQ((*held)[k].starts, (*found)[k].starts) << text.toStdString();
        }
    }
    std::vector<Starts> starts;
    for (std::size_t k = 0; k < found->size(); ++k) {
        EXPECT_EQ((*found)[k].length, keywords[static_cast<qsizetype>(k)].size());
        starts.push_back((*found)[k].starts);
    }
    return starts;
}

TEST(KeywordMatcher, FindsEveryOccurrenceIgnoringCase) {
    const QString pair = u"\U00010400"_s;
    const struct {
        QStringList keywords;
        QString text;
        std::vector<Starts> expected;
    } cases[] = {
        {{u"FEHLER"_s}, u"ein fehler, Fehler"_s, {{4, 12}}},
        {{u"ÄRGER"_s}, u"kein ärger"_s, {{5}}},
        {{u"straße"_s}, u"STRAẞE"_s, {{0}}},
        {{u"ΣΟΦΊΑ"_s}, u"σοφία"_s, {{0}}},
        {{u"k"_s}, u"\u212A"_s, {{0}}},                // the Kelvin sign folds to k
        {{u"\u212A"_s, u"ä"_s}, u"ok a"_s, {{1}, {}}}, // also in Latin-1 text
        {{u"\u03BC"_s, u"ÿ"_s}, u"\u00B5 \u00FF \u0178"_s, {{0}, {2, 4}}}, // micro sign folds to mu
        {{u"x\U00010400"_s}, u"ab X\U00010428"_s, {{3}}},                  // beyond the basic plane
        // "İ" and "ß" have no one-to-one folding: they match only themselves, and the
        // positions after them stay right.
        {{u"ss"_s, u"warn"_s}, u"ßİß WARN"_s, {{}, {4}}},
        {{u"İ"_s, u"i"_s}, u"İi"_s, {{0}, {1}}},
        {{u"ß"_s}, u"SS ß"_s, {{3}}},
        // Only A to Z fold in ASCII, a block of 16 at a time or one by one.
        {{u"`"_s, u"{"_s, u"@"_s, u"["_s, u"az"_s},
         u"`{@[ AZaz`{@[ AZaz"_s,
         {{0, 9}, {1, 10}, {2, 11}, {3, 12}, {5, 7, 14, 16}}},
        {{u"aa"_s}, u"aaaa"_s, {{0, 1, 2}}},
        {{u"aba"_s}, u"ababa"_s, {{0, 2}}},
        {{u"end"_s, u"d"_s}, u"line\nthe end"_s, {{9}, {11}}},
        {{u"longer"_s}, u"long"_s, {{}}},
        {{u" err"_s}, u"err x err\n err"_s, {{5, 10}}}, // a leading blank must be present
        // List order and duplicates are kept; an empty keyword matches nothing.
        {{u"b"_s, u"A"_s, u"a"_s, u""_s}, u"ab"_s, {{1}, {0}, {0}, {}}},
        {{}, u"text"_s, {}},
        // Never inside a surrogate pair.
        {{pair.left(1), pair.right(1), pair}, u"x"_s + pair + u"y"_s, {{}, {}, {1}}},
    };
    for (const auto& [keywords, text, expected] : cases) {
        EXPECT_EQ(find(keywords, text), expected) << text.toStdString();
    }
}

TEST(KeywordMatcher, FindsAcrossInternalStretchBoundaries) {
    // The text is folded in stretches of 32768 characters, each with a little of the next;
    // occurrences across those edges must be found once, and pairs cut there folded whole.
    QString text(100000, u'.');
    const QString pair = u"\U00010400"_s;
    text.replace(32765, 8, u"boundary"_s); // across the first edge
    text.replace(32775, 2, pair);          // cut by the end of the first stretch's fold
    text.replace(65533, 8, u"BOUNDARY"_s); // across the second edge
    text.replace(98303, 2, pair);          // across the third edge
    EXPECT_THAT(find({u"Boundary"_s, u"\U00010428"_s}, text),
                ElementsAre(Starts{32765, 65533}, Starts{32775, 98303}));
}

TEST(KeywordMatcher, LongWorkStopsWhenNoLongerWanted) {
    int asked = 0;
    const auto found =
        KeywordMatcher({u"a"_s}).findAll(QString(1 << 22, u'a'), [&asked] { return ++asked == 2; });
    EXPECT_FALSE(found.has_value());
    EXPECT_EQ(asked, 2);
    const KeywordOccurrences many{2, std::vector<std::int64_t>(100000)};
    EXPECT_FALSE(MarkBuilder::build({many}, [] { return true; }).has_value());
}

} // namespace
} // namespace ombrel
