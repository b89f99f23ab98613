#include "display/KeywordMatcher.h"
#include "display/KeywordPass.h"
#include "find/FindWorker.h"
#include "find/MarkWalk.h"
#include "find/TextFinder.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace ombrel {
namespace {

using namespace Qt::StringLiterals;

RegexScanner scannerFor(const QString& text, RegexOptions options) {
    return RegexScanner(RegexPattern::compile(text, options, nullptr));
}

TEST(TextFinder, GoesToTheNextAndPreviousMatchWrappingAtTheEnds) {
    const QString text = u"one two One\nthree oNe"_s;
    for (const LogText& held : {LogText(text), LogText::narrowed(text)}) {
        RegexScanner scanner = scannerFor(u"one"_s, {false, true, false});
        using F = FoundMatch;
        EXPECT_EQ(TextFinder::next(scanner, held, 0), F({0, 3, false}));
        EXPECT_EQ(TextFinder::next(scanner, held, 3), F({8, 11, false}));
        EXPECT_EQ(TextFinder::next(scanner, held, 19), F({0, 3, true}));
        EXPECT_EQ(TextFinder::previous(scanner, held, 8), F({0, 3, false}));
        EXPECT_EQ(TextFinder::previous(scanner, held, 18), F({8, 11, false}));
        EXPECT_EQ(TextFinder::previous(scanner, held, 0), F({18, 21, true}));
        const auto count = TextFinder::count(scanner, held, 8);
        ASSERT_TRUE(count);
        EXPECT_EQ(count->total, 3);
        EXPECT_EQ(count->before, 1);
        EXPECT_TRUE(count->atPosition);
        RegexScanner cased = scannerFor(u"One"_s, {true, true, false});
        EXPECT_EQ(TextFinder::next(cased, held, 0), F({8, 11, false}));
        RegexScanner none = scannerFor(u"four"_s, {});
        EXPECT_EQ(TextFinder::previous(none, held, 5),
                  std::optional<TextFinder::Found>(TextFinder::Found()));
    }
}

TEST(TextFinder, FoldsCaseAsTheKeywordPassAndKeepsToWholeWords) {
    // One rule: what the keyword pass marks is what Find finds without "Match case".
    const struct {
        QString word;
        QString text;
    } cases[] = {
        {u"ÄRGER"_s, u"kein ärger, ÄrGeR"_s},
        {u"straße"_s, u"STRAẞE strasse"_s},
        {u"k"_s, u"\u212A k K"_s},
        {u"\u03BC"_s, u"\u00B5 \u039C"_s},
        {u"İ"_s, u"i İ I"_s},
        {u"ß"_s, u"SS ß ẞ"_s},
        {u"σοφία"_s, u"ΣΟΦΊΑ"_s},
    };
    for (const auto& c : cases) {
        const auto marked = KeywordMatcher({c.word}).findAll(c.text);
        for (const LogText& held : {LogText(c.text), LogText::narrowed(c.text)}) {
            RegexScanner scanner = scannerFor(c.word, {false, true, false});
            std::vector<std::int64_t> found;
            scanner.scan(held, 0, held.size(), [&found](std::int64_t start, std::int64_t) {
                found.push_back(start);
                return true;
            });
            EXPECT_EQ(found, (*marked)[0].starts) << c.text.toStdString();
        }
    }
    RegexScanner words = scannerFor(u"err"_s, {false, true, true});
    EXPECT_EQ(TextFinder::next(words, LogText(u"error err_x err."_s), 0),
              FoundMatch({12, 15, false}));
}

TEST(FindWorker, ShowsTheMatchThenTheCountAndTellsAnInvalidExpression) {
    PassResult pass;
    pass.text = LogText(u"alpha beta\nbeta"_s);
    const auto model = DisplayModel::fromPass(std::move(pass));
    FindWorker worker;
    QSignalSpy reports(&worker, &FindWorker::resultReady);
    worker.start({model, {u"beta"_s}, FindMove::Next, 11, 0});
    ASSERT_TRUE(worker.waitForIdle(5000));
    ASSERT_EQ(reports.size(), 2);
    const auto first = reports.at(0).at(0).value<FindResult>();
    const auto last = reports.at(1).at(0).value<FindResult>();
    EXPECT_EQ(first.match, std::optional<FoundMatch>(FoundMatch{11, 15, false}));
    EXPECT_FALSE(first.count);
    ASSERT_TRUE(last.count);
    EXPECT_EQ(last.count->total, 2);
    EXPECT_EQ(last.count->before, 1);

    reports.clear();
    worker.start({model, {u"be(ta"_s, false, true}, FindMove::Next, 0, 0});
    worker.start({model, {u"be(ta"_s, false, true, true}, FindMove::Next, 0, 0});
    ASSERT_TRUE(worker.waitForIdle(5000));
    ASSERT_EQ(reports.size(), 1); // the stale request says nothing
    const auto invalid = reports.at(0).at(0).value<FindResult>();
    EXPECT_TRUE(invalid.error.endsWith(u"at character 6"_s)) << invalid.error.toStdString();
    EXPECT_FALSE(invalid.pattern);
}

TEST(MarkWalk, GoesFromMarkToMarkWrappingAtTheEnds) {
    PassResult pass;
    pass.text = LogText(u"error error disk\nok"_s);
    // A mark grown to two sizes is one mark.
    pass.marks = {{0, 3, 1}, {3, 2, 2}, {6, 5, 1}, {12, 4, 1}};
    const auto model = DisplayModel::fromPass(std::move(pass));
    using M = MarkSpan;
    EXPECT_EQ(MarkWalk::next(*model, 0), M({0, 5}));
    EXPECT_EQ(MarkWalk::next(*model, 5), M({6, 11}));
    EXPECT_EQ(MarkWalk::next(*model, 2), M({6, 11}));
    EXPECT_EQ(MarkWalk::next(*model, 17), M({0, 5}));
    EXPECT_EQ(MarkWalk::previous(*model, 12), M({6, 11}));
    EXPECT_EQ(MarkWalk::previous(*model, 6), M({0, 5}));
    EXPECT_EQ(MarkWalk::previous(*model, 0), M({12, 16}));
    EXPECT_FALSE(MarkWalk::next(DisplayModel(), 0));
}

} // namespace
} // namespace ombrel
