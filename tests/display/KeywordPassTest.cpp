#include "display/KeywordPass.h"

#include "display/DisplayLines.h"

#include <QList>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <set>

namespace ombrel {
namespace {

using namespace Qt::StringLiterals;

constexpr KeywordFlags highlight{true, false, false};
constexpr KeywordFlags onlyWith{true, true, false};
constexpr KeywordFlags onlyWithout{true, false, true};

// The pass over text as UTF-16 and held narrow: the same either way.
PassResult runPass(const QString& text, const QStringList& keywords, KeywordFlags flags) {
    auto result = KeywordPass::run({text, keywords, flags, 1});
    EXPECT_TRUE(result.has_value());
    if (const LogText narrow = LogText::narrowed(text); result && narrow.isNarrow()) {
        auto held = KeywordPass::run({narrow, keywords, flags, 1});
        EXPECT_TRUE(held && held->text.isNarrow() && held->text == result->text &&
                    held->marks == result->marks &&
                    held->linesBeforeFiltering == result->linesBeforeFiltering)
            << text.toStdString();
    }
    return result.value_or(PassResult{});
}

// The pass done the slow and obvious way: one cell per display character (CR LF is one),
// marked one occurrence at a time, then whole lines deleted.
PassResult reference(const QString& text, const QStringList& keywords, KeywordFlags flags) {
    struct Cell {
        QString text;
        bool lineEnd = false;
        bool marked = false;
        int steps = 0;
    };
    QList<Cell> cells;
    QList<qsizetype> cellOf; // text position to cell
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.sliced(i).startsWith(u"\r\n"_s) ? 2 : 1;
        cellOf.insert(cellOf.size(), length, cells.size());
        cells.push_back({text.sliced(i, length), u"\n\r\u2029\uFDD0\uFDD1"_s.contains(text.at(i))});
        i += length - 1;
    }
    const auto isLineEnd = [](const Cell& c) { return c.lineEnd; };
    std::set<qsizetype> hitLines;
    for (const QString& keyword : keywords) {
        for (qsizetype p = 0; !keyword.isEmpty() && p + keyword.size() <= text.size(); ++p) {
            if (text.sliced(p, keyword.size()).compare(keyword, Qt::CaseInsensitive) != 0) {
                continue;
            }
            const auto first = cells.begin() + cellOf[p];
            const auto end = cells.begin() + cellOf[p + keyword.size() - 1] + 1;
            const int steps = first->steps;
            const bool oneSize =
                std::all_of(first, end, [steps](const Cell& c) { return c.steps == steps; });
            for (auto c = first; c != end; ++c) {
                c->marked = true;
                c->steps += oneSize ? 1 : 0;
            }
            hitLines.insert(std::count_if(cells.begin(), first, isLineEnd));
        }
    }
    PassResult result;
    QString shown;
    const bool filtering = flags.showOnlyMatching || flags.showWithoutMatching;
    qsizetype line = 0;
    std::int64_t position = 0;
    for (const Cell& cell : cells) {
        const bool hit = hitLines.contains(line);
        line += cell.lineEnd ? 1 : 0;
        if ((!hit && flags.showOnlyMatching) || (hit && flags.showWithoutMatching)) {
            continue;
        }
        // Kept lines never join: a lone CR goes as LF when lines are filtered.
        shown += filtering && cell.text == u"\r"_s ? u"\n"_s : cell.text;
        MarkRuns& runs = result.marks;
        if (cell.marked && !runs.empty() && runs.back().end() == position &&
            runs.back().sizeSteps == cell.steps) {
            ++runs.back().length;
        } else if (cell.marked) {
            runs.push_back({position, 1, cell.steps});
        }
        ++position;
    }
    result.linesBeforeFiltering = line + 1;
    result.text = shown;
    return result;
}

TEST(KeywordPass, MarksAndKeepsOrRemovesWholeLines) {
    const QStringList errorWarn = {u"error"_s, u"warn"_s};
    const QString three = u"one\nerror warn error\ntwo\n"_s;
    const struct {
        QString text;
        QStringList keywords;
        KeywordFlags flags;
        QString shown;
        MarkRuns marks;
        std::int64_t lines; // before filtering, for the status line
    } cases[] = {
        // The general rules are checked against a reference below; these are the edges.
        {u"error\nfine\n"_s, {u"error"_s}, {true, true, true}, QString(), {}, 3},
        {three,
         errorWarn,
         onlyWith,
         u"error warn error\n"_s,
         {{0, 5, 1}, {6, 4, 1}, {11, 5, 1}},
         4},
        // Each kept line keeps its own end: a lone CR never joins the LF of a later line.
        {u"progress 99%\rERROR disk\n\nafter\n"_s,
         {u"error"_s},
         onlyWithout,
         u"progress 99%\n\nafter\n"_s,
         {},
         5},
        {u"a\r\rx\n\n"_s, {u"x"_s}, onlyWithout, u"a\n\n\n"_s, {}, 5}, // nor through a kept CR
        // Only a hand-edited keyword holds half a line end; the marks stay sorted and apart.
        {u"x\r\ny\r\n"_s, {u"x\r"_s, u"\ny"_s}, highlight, u"x\r\ny\r\n"_s, {{0, 3, 1}}, 3},
        // Highlighting off is the master switch: no marks and no filtering.
        {three, errorWarn, {false, true, false}, three, {}, 4},
        {three, errorWarn, {false, false, true}, three, {}, 4},
        // Keywords as expressions: each match marked, a keyword listed twice grows twice, and
        // the filters keep or drop the lines with a match.
        {u"Error 503\nok\nerr 404 err 1\n"_s,
         {u"err(or)? [0-9]{3}"_s, u"ERR(OR)? [0-9]{3}"_s, u"^ok$"_s},
         {true, false, false, true},
         u"Error 503\nok\nerr 404 err 1\n"_s,
         {{0, 9, 2}, {10, 2, 1}, {13, 7, 2}},
         4},
        {u"Error 503\nok\nerr 404\n"_s,
         {u"err(or)? \\d+"_s},
         {true, true, false, true},
         u"Error 503\nerr 404\n"_s,
         {{0, 9, 1}, {10, 7, 1}},
         4},
        {u"Error 503\nok\nerr 404\n"_s,
         {u"err(or)? \\d+"_s},
         {true, false, true, true},
         u"ok\n"_s,
         {},
         4},
        // An invalid expression marks nothing; the others mark all the same.
        {u"a(b\nok\n"_s,
         {u"a(b"_s, u"ok"_s},
         {true, false, false, true},
         u"a(b\nok\n"_s,
         {{4, 2, 1}},
         3},
    };
    for (const auto& c : cases) {
        const PassResult result = runPass(c.text, c.keywords, c.flags);
        EXPECT_EQ(result.text, c.shown) << c.text.toStdString();
        EXPECT_EQ(result.marks, c.marks) << c.text.toStdString();
        EXPECT_EQ(result.linesBeforeFiltering, c.lines) << c.text.toStdString();
    }
    const auto problems =
        KeywordPass::run({u"x"_s, {u"ok"_s, u"a(b"_s}, {true, false, false, true}, 1});
    ASSERT_TRUE(problems.has_value());
    ASSERT_EQ(problems->keywordProblems.size(), 1);
    EXPECT_TRUE(problems->keywordProblems[0].startsWith(u"Keyword 2 \"a(b\" is not a valid"_s));
    EXPECT_EQ(DisplayLines::count(u"a\n\rb\u2029c\uFDD0d\r\n"_s), 6);
    EXPECT_EQ(DisplayLines::count(LogText::narrowed(u"a\n\rb\r\n")), 4);
    EXPECT_EQ(DisplayLines::count(u"a\u2028b"_s), 1); // a line separator breaks no block
}

TEST(KeywordPass, SameAsMarkingFirstAndDeletingLinesAfterwards) {
    // Case folding beyond ASCII is compared with Qt's own.
    const QString alphabets[] = {u"aAbB  \n\r\r\n\u2029äÄßẞσΣς\u212Ak İ"_s, u"aAbB \n\rkäÄßµ"_s};
    const QStringList keywords = {u"ab"_s, u"A"_s,  u"b a"_s, u"AB"_s, u"bab"_s,   u" "_s,
                                  u"Ä"_s,  u"σσ"_s, u"K"_s,   u"ßa"_s, u"\u039C"_s};
    std::mt19937 random(11);
    std::uniform_int_distribution<qsizetype> pick(0, alphabets[0].size() - 1);
    std::uniform_int_distribution<int> count(0, static_cast<int>(keywords.size()));
    for (int round = 0; round < 600; ++round) {
        QString text;
        const QString& alphabet = alphabets[round % 3 == 0 ? 1 : 0];
        for (int i = round % 40; i > 0; --i) {
            text.append(alphabet.at(pick(random) % alphabet.size()));
        }
        const QStringList chosen = keywords.mid(round % 2 * 4, count(random));
        const KeywordFlags flags{true, (round & 1) != 0, (round & 2) != 0};
        const PassResult expected = reference(text, chosen, flags);
        const PassResult result = runPass(text, chosen, flags);
        ASSERT_EQ(result.text, expected.text) << "text " << text.toStdString();
        ASSERT_EQ(result.marks, expected.marks) << "text " << text.toStdString();
        ASSERT_EQ(result.linesBeforeFiltering, expected.linesBeforeFiltering);
    }
}

TEST(KeywordPass, NewerUpdateDropsOlderPass) {
    UpdateGeneration generations;
    const std::uint64_t older = generations.advance();
    const PassInput input{
        LogText::narrowed(u"error\n"_s.repeated(1 << 18)), {u"error"_s}, onlyWith, older};
    generations.advance(); // a newer update began before the pass ran
    EXPECT_FALSE(KeywordPass::run(input, generations.staleCheck(older)).has_value());

    // A pass is also abandoned when a newer update begins while it is under way.
    int checks = 0;
    EXPECT_FALSE(KeywordPass::run(input, [&checks] { return ++checks > 1; }).has_value());

    const std::uint64_t newest = generations.advance();
    const auto result = KeywordPass::run({input.text, input.keywords, onlyWith, newest},
                                         generations.staleCheck(newest));
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->generation, newest);
}

} // namespace
} // namespace ombrel
