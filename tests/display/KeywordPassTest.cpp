#include "display/KeywordPass.h"

#include "display/DisplayLines.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <random>

namespace ombrel {
namespace {

using namespace Qt::StringLiterals;
using testing::ElementsAre;
using testing::IsEmpty;

constexpr KeywordFlags highlight{true, false, false};
constexpr KeywordFlags onlyWith{true, true, false};
constexpr KeywordFlags onlyWithout{true, false, true};

PassResult runPass(const QString& text, const QStringList& keywords, KeywordFlags flags) {
    auto result = KeywordPass::run({text, keywords, flags, 1});
    EXPECT_TRUE(result.has_value());
    return result.value_or(PassResult{});
}

bool isLineEnd(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar(0x2029) || c == QChar(0xFDD0) ||
           c == QChar(0xFDD1);
}

// The display the way the marking pass sees it, done the slow and obvious way: one cell per
// display character (a line end is one, whatever it is made of), marked one occurrence at a
// time, then whole lines deleted from the bottom up.
class ReferenceDisplay {
public:
    explicit ReferenceDisplay(const QString& text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            Cell cell;
            cell.text = text.at(i);
            cell.lineEnd = isLineEnd(text.at(i));
            if (text.at(i) == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
                cell.text.append(u'\n');
                cellOfText_.push_back(cells_.size());
                ++i;
            }
            cellOfText_.push_back(cells_.size());
            cells_.push_back(cell);
        }
        source_ = text;
    }

    void mark(const QStringList& keywords) {
        for (const QString& keyword : keywords) {
            for (qsizetype p = 0; p + keyword.size() <= source_.size(); ++p) {
                if (keyword.isEmpty() || QStringView(source_)
                                                 .sliced(p, keyword.size())
                                                 .compare(keyword, Qt::CaseInsensitive) != 0) {
                    continue;
                }
                const std::size_t first = cellOfText_[p];
                const std::size_t last = cellOfText_[p + keyword.size() - 1];
                bool oneSize = true;
                for (std::size_t c = first; c <= last; ++c) {
                    oneSize = oneSize && cells_[c].steps == cells_[first].steps;
                }
                for (std::size_t c = first; c <= last; ++c) {
                    cells_[c].marked = true;
                    cells_[c].steps += oneSize ? 1 : 0;
                }
                hitLines_.push_back(lineOf(first));
            }
        }
    }

    void filter(bool keepHits, bool keepMisses) {
        std::vector<std::size_t> lineStarts{0};
        for (std::size_t c = 0; c < cells_.size(); ++c) {
            if (cells_[c].lineEnd) {
                lineStarts.push_back(c + 1);
            }
        }
        for (std::size_t line = lineStarts.size(); line-- > 0;) {
            const bool hit = std::find(hitLines_.begin(), hitLines_.end(), line) != hitLines_.end();
            if ((!hit && keepHits) || (hit && keepMisses)) {
                const std::size_t start = lineStarts[line];
                std::size_t end = start;
                while (end < cells_.size() && !cells_[end].lineEnd) {
                    ++end;
                }
                end = std::min(end + 1, cells_.size()); // with its line end
                cells_.erase(cells_.begin() + static_cast<std::ptrdiff_t>(start),
                             cells_.begin() + static_cast<std::ptrdiff_t>(end));
            }
        }
    }

    QString text() const {
        QString text;
        for (const Cell& cell : cells_) {
            text += cell.text;
        }
        return text;
    }

    MarkRuns marks() const {
        MarkRuns runs;
        for (std::size_t c = 0; c < cells_.size(); ++c) {
            if (!cells_[c].marked) {
                continue;
            }
            const auto position = static_cast<std::int64_t>(c);
            if (!runs.empty() && runs.back().end() == position &&
                runs.back().sizeSteps == cells_[c].steps) {
                ++runs.back().length;
            } else {
                runs.push_back({position, 1, cells_[c].steps});
            }
        }
        return runs;
    }

private:
    struct Cell {
        QString text;
        bool lineEnd = false;
        bool marked = false;
        int steps = 0;
    };

    std::size_t lineOf(std::size_t cell) const {
        return static_cast<std::size_t>(
            std::count_if(cells_.begin(), cells_.begin() + static_cast<std::ptrdiff_t>(cell),
                          [](const Cell& c) { return c.lineEnd; }));
    }

    QString source_;
    std::vector<Cell> cells_;
    std::vector<std::size_t> cellOfText_;
    std::vector<std::size_t> hitLines_;
};

TEST(KeywordPass, HighlightOffChangesNothing) {
    const QString text = u"error one\nfine\n"_s;
    for (const KeywordFlags flags :
         {KeywordFlags{false, true, false}, KeywordFlags{false, false, true}, KeywordFlags{}}) {
        const PassResult result = runPass(text, {u"error"_s}, flags);
        EXPECT_EQ(result.text, text);
        EXPECT_THAT(result.marks, IsEmpty());
        EXPECT_EQ(result.linesBeforeFiltering, 3);
    }
}

TEST(KeywordPass, MarksWithoutFiltering) {
    const PassResult result = runPass(u"an Error\nfine\nERROR"_s, {u"error"_s}, highlight);
    EXPECT_EQ(result.text, u"an Error\nfine\nERROR"_s);
    EXPECT_THAT(result.marks, ElementsAre(MarkRun{3, 5, 1}, MarkRun{14, 5, 1}));
}

TEST(KeywordPass, KeepsOnlyLinesWithKeywords) {
    const PassResult result =
        runPass(u"fine\nwarn: error\nok\nlast error"_s, {u"error"_s, u"warn"_s}, onlyWith);
    EXPECT_EQ(result.text, u"warn: error\nlast error"_s);
    EXPECT_THAT(result.marks, ElementsAre(MarkRun{0, 4, 1}, MarkRun{6, 5, 1}, MarkRun{17, 5, 1}));
    EXPECT_EQ(result.linesBeforeFiltering, 4);
}

TEST(KeywordPass, KeepsOnlyLinesWithoutKeywords) {
    // The last line has no line end; removing it leaves the one before it ending in one.
    const PassResult result = runPass(u"fine\nok\nthe end"_s, {u"END"_s}, onlyWithout);
    EXPECT_EQ(result.text, u"fine\nok\n"_s);
    EXPECT_THAT(result.marks, IsEmpty());
    EXPECT_EQ(result.linesBeforeFiltering, 3);
}

TEST(KeywordPass, BothFiltersRemoveEverything) {
    const PassResult result =
        runPass(u"error\nfine\n"_s, {u"error"_s}, KeywordFlags{true, true, true});
    EXPECT_EQ(result.text, QString());
    EXPECT_THAT(result.marks, IsEmpty());
}

TEST(KeywordPass, EmptyListWithOnlyWithRemovesEveryLine) {
    EXPECT_EQ(runPass(u"a\nb\n"_s, {}, onlyWith).text, QString());
    EXPECT_EQ(runPass(u"a\nb\n"_s, {}, onlyWithout).text, u"a\nb\n"_s);
}

TEST(KeywordPass, LineWithSeveralOccurrencesCountsOnce) {
    // Three occurrences of two keywords in one line: kept once, or removed once.
    const QString text = u"one\nerror warn error\ntwo\n"_s;
    const QStringList keywords = {u"error"_s, u"warn"_s};
    EXPECT_EQ(runPass(text, keywords, onlyWith).text, u"error warn error\n"_s);
    EXPECT_EQ(runPass(text, keywords, onlyWithout).text, u"one\ntwo\n"_s);
}

TEST(KeywordPass, MarksCountEveryLineEndAsOneCharacter) {
    // CR LF, a lone CR and LF each end one line; the display holds each as one character.
    const PassResult result = runPass(u"a\r\nb key\rkey\n"_s, {u"key"_s}, highlight);
    EXPECT_EQ(result.text, u"a\r\nb key\rkey\n"_s);
    EXPECT_THAT(result.marks, ElementsAre(MarkRun{4, 3, 1}, MarkRun{8, 3, 1}));
    EXPECT_EQ(result.linesBeforeFiltering, 4);

    const PassResult filtered = runPass(u"x\r\nkey\r\ny\r\nkey"_s, {u"key"_s}, onlyWith);
    EXPECT_EQ(filtered.text, u"key\r\nkey"_s);
    EXPECT_THAT(filtered.marks, ElementsAre(MarkRun{0, 3, 1}, MarkRun{4, 3, 1}));
}

TEST(KeywordPass, CountsLinesBeforeFiltering) {
    EXPECT_EQ(runPass(QString(), {u"x"_s}, onlyWith).linesBeforeFiltering, 1);
    EXPECT_EQ(runPass(u"x\n\ny\n"_s, {u"x"_s}, onlyWith).linesBeforeFiltering, 4);
    EXPECT_EQ(DisplayLines::count(u"a\n\rb\u2029c\uFDD0d\r\n"_s), 6);
    EXPECT_EQ(DisplayLines::count(u"a\u2028b"_s), 1); // a line separator breaks no block
}

TEST(KeywordPass, NewerUpdateDropsOlderPass) {
    UpdateGeneration generations;
    const std::uint64_t older = generations.advance();
    const PassInput input{u"error\n"_s.repeated(1 << 18), {u"error"_s}, onlyWith, older};
    generations.advance(); // a newer update began before the pass ran
    EXPECT_FALSE(KeywordPass::run(input, generations.staleCheck(older)).has_value());

    // A pass is also abandoned when a newer update begins while it is under way.
    int checks = 0;
    const auto staleAfterFirstStep = [&checks] { return ++checks > 1; };
    EXPECT_FALSE(KeywordPass::run(input, staleAfterFirstStep).has_value());

    const std::uint64_t newest = generations.advance();
    const auto result = KeywordPass::run({input.text, input.keywords, onlyWith, newest},
                                         generations.staleCheck(newest));
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->generation, newest);
}

TEST(KeywordPass, SameAsMarkingFirstAndDeletingLinesAfterwards) {
    const QString alphabet = u"aAbB  \n\r\r\n\u2029"_s;
    const QStringList keywords = {u"ab"_s, u"A"_s, u"b a"_s, u"AB"_s, u"bab"_s, u" "_s};
    std::mt19937 random(11);
    std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> count(0, static_cast<int>(keywords.size()));
    for (int round = 0; round < 300; ++round) {
        QString text;
        for (int i = round % 40; i > 0; --i) {
            text.append(alphabet.at(pick(random)));
        }
        const QStringList chosen = keywords.mid(0, count(random));
        const KeywordFlags flags{true, (round & 1) != 0, (round & 2) != 0};
        ReferenceDisplay display(text);
        display.mark(chosen);
        display.filter(flags.showOnlyMatching, flags.showWithoutMatching);

        const PassResult result = runPass(text, chosen, flags);
        ASSERT_EQ(result.text, display.text()) << "text " << text.toStdString();
        ASSERT_EQ(result.marks, display.marks()) << "text " << text.toStdString();
        ASSERT_EQ(result.linesBeforeFiltering, DisplayLines::count(text));
    }
}

TEST(KeywordPass, KeywordHoldingHalfALineEndKeepsMarksApart) {
    // Possible only with a hand-edited list; the marks must still be sorted and disjoint.
    const PassResult result = runPass(u"x\r\ny\r\n"_s, {u"x\r"_s, u"\ny"_s}, highlight);
    ASSERT_FALSE(result.marks.empty());
    for (std::size_t i = 1; i < result.marks.size(); ++i) {
        EXPECT_LE(result.marks[i - 1].end(), result.marks[i].start);
    }
    EXPECT_LE(result.marks.back().end(), 5);
}

} // namespace
} // namespace ombrel
