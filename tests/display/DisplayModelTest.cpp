#include "display/DisplayModel.h"

#include "display/DisplayLines.h"
#include "display/SelectionMemo.h"
#include "tail/TailTextDecoder.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <random>

namespace ombrel {
namespace {

using namespace Qt::StringLiterals;

// The model of text held narrow, checked against the one of the text held as UTF-16.
std::shared_ptr<const DisplayModel> modelOf(const QString& text, const QStringList& keywords = {},
                                            KeywordFlags flags = {true, false, false}) {
    auto pass = KeywordPass::run({text, keywords, flags, 1});
    EXPECT_TRUE(pass.has_value());
    auto wide = DisplayModel::fromPass(std::move(*pass));
    const LogText held = LogText::narrowed(text);
    if (!held.isNarrow()) {
        return wide;
    }
    auto narrow = DisplayModel::fromPass(*KeywordPass::run({held, keywords, flags, 1}));
    EXPECT_TRUE(narrow->content().isNarrow());
    EXPECT_EQ(narrow->text(), wide->text());
    EXPECT_EQ(narrow->marks(), wide->marks());
    EXPECT_EQ(narrow->lineCount(), wide->lineCount());
    EXPECT_EQ(narrow->longestLine(), wide->longestLine());
    return narrow;
}

// Every line, and the line of every position, as the model finds them.
void expectConsistent(const DisplayModel& model) {
    const QStringList lines = model.text().split(u'\n');
    ASSERT_EQ(model.lineCount(), lines.size());
    std::int64_t start = 0;
    for (qsizetype line = 0; line < lines.size(); ++line) {
        ASSERT_EQ(model.lineStart(line), start) << line;
        ASSERT_EQ(model.lineText(line), lines[line]) << line;
        ASSERT_EQ(model.lineOf(start), line);
        ASSERT_EQ(model.lineOf(start + lines[line].size()), line); // its line end
        start += lines[line].size() + 1;
    }
    EXPECT_EQ(model.longestLine(),
              std::max_element(lines.begin(), lines.end(), [](const QString& a, const QString& b) {
                  return a.size() < b.size();
              })->size());
}

TEST(DisplayModel, EveryLineEndIsOneLineFeed) {
    const struct {
        QString text;
        QString shown;
    } cases[] = {
        {QString(), QString()},
        {u"one"_s, u"one"_s},
        {u"one\n"_s, u"one\n"_s},
        {u"a\r\nb\nc\rd"_s, u"a\nb\nc\nd"_s},
        {u"\n\r\n\r"_s, u"\n\n\n"_s},
        {u"\r\r\r"_s, u"\n\n\n"_s},
        {u"a\u2029b\u2028c"_s, u"a\nb\u2028c"_s}, // a line separator ends no line
        {u"a\uFDD0b\uFDD1c"_s, u"a\nb\nc"_s},
        {u"a\vb\fc\u0085d"_s, u"a\vb\fc\u0085d"_s},
        // CR CR LF was read as LF CR: two line ends.
        {TailTextDecoder::decode("x\r\r\ny\r\r\n", 0, "x"), u"x\n\ny\n\n"_s},
    };
    for (const auto& c : cases) {
        const auto model = modelOf(c.text);
        EXPECT_EQ(model->text(), c.shown) << c.text.toStdString();
        // The status line counts the lines the display shows.
        EXPECT_EQ(model->lineCount(), DisplayLines::count(c.text)) << c.text.toStdString();
        expectConsistent(*model);
    }
}

TEST(DisplayModel, FindsEachLineEndInsideALongText) {
    // Long texts are searched for line ends other than LF a block of characters at a time.
    const std::pair<char16_t, std::int64_t> cases[] = {
        {u'\r', 2}, {u'\u2029', 2}, {u'\uFDD0', 2}, {u'\uFDD1', 2}, {u'\u2028', 1}, {u'\uFDD2', 1}};
    for (const auto& [end, lines] : cases) {
        QString text(9000, u'\u00E9');
        text[100] = end;
        EXPECT_EQ(modelOf(text)->lineCount(), lines) << int{end};
        EXPECT_EQ(DisplayLines::count(text), lines) << int{end};
    }
}

TEST(DisplayModel, MostTextsAreHeldNarrowInPlace) {
    QByteArray high(5000, 'a');
    high[4095] = '\x80'; // the last byte of the first whole block
    QByteArray zero(4096, 'a');
    zero[7] = '\0';
    const QByteArray longInvalidRun = QByteArray(3000, '\x80') + QByteArray(30000, 'z');
    const struct {
        QByteArray bytes;
        std::int64_t offset;
        QByteArray fileStart;
        bool narrow;
    } cases[] = {
        {"x\r\r\ny\r\r\r\n\r\r", 0, "x", true},
        {QByteArray(), 0, "", true},
        {QByteArray(5000, 'b') + "caf\xC3\xA9 \xC2\xB5", 0, "b", true},
        {"\xA9\xA9 cut at both ends \xE2\x82", 9, "x", true},
        {"\xA9 not cut at the file start", 0, "\xA9", true},
        {"\xA9\xA9\xA9\xA9 four", 9, "x", true},
        {"euro \xE2\x82\xAC, pair \xF0\x90\x90\x80 and more words to be sparse", 0, "e", true},
        {"\xC3( \xE0\x80\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xC0\xC1 invalid, in a text long enough",
         0, "\xC3", true},
        {"\xEF\xBB\xBFmark at the start, \xEF\xBB\xBF inside", 0, "\xEF", true},
        {high, 0, "a", true},
        {zero, 0, "a", true},
        {longInvalidRun, 0, "\x80", true},
        {"ab", 0, "\xFF\xFE", false},
        {"\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC many", 0, "\xE2", false},
        {"a line\xE2\x80\xA9"
         "ends here, in a long enough text",
         0, "a", false},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.bytes.left(40).toStdString());
        const QString decoded = TailTextDecoder::decode(c.bytes, c.offset, c.fileStart);
        const QByteArray before = c.bytes;
        QString wideUnits;
        ASSERT_EQ(TailTextDecoder::toNarrow(c.bytes, wideUnits, c.offset, c.fileStart), c.narrow);
        if (c.narrow) {
            EXPECT_EQ(LogText::fromNarrow(c.bytes, wideUnits).toString(), decoded);
        } else {
            EXPECT_EQ(c.bytes, before); // left for the decoder
        }
    }
}

TEST(DisplayModel, FindsLinesInLongAndManyLineTexts) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> lengths(0, 9);
    for (const int longEvery : {0, 3, 50}) {
        QString text;
        for (int line = 0; line < 400; ++line) {
            const bool isLong = longEvery > 0 && line % longEvery == 0;
            const char16_t first = longEvery == 50 ? u'\u0101' : u'a'; // listed apart or a byte
            text += QString(isLong ? 5000 + line : lengths(random), QChar(first + line % 26));
            text += line % 7 == 0 ? u"\r\n"_s : u"\n"_s;
        }
        expectConsistent(*modelOf(text));
    }
    expectConsistent(*modelOf(QString(20'000, u'\n')));
}

TEST(DisplayModel, MarksAndTallLinesFollowTheShownText) {
    // A keyword holding a line end marks both lines; listed twice it grows two steps.
    const auto split = modelOf(u"xx ab\r\ncd yy\nzz"_s, {u"b\r\nc"_s, u"b\r\nc"_s});
    EXPECT_EQ(split->marks(), (MarkRuns{{4, 3, 2}}));
    EXPECT_EQ(std::tuple(split->lineSizeSteps(0), split->lineSizeSteps(1), split->lineSizeSteps(2),
                         split->maxSizeSteps()),
              std::tuple(2, 2, 0, 2));

    // Filtered: only the kept lines, marks in their places.
    const auto kept =
        modelOf(u"ok\r\nan error\rfine\nERROR\n"_s, {u"error"_s}, {true, true, false});
    EXPECT_EQ(kept->text(), u"an error\nERROR\n"_s);
    EXPECT_EQ(kept->marks(), (MarkRuns{{3, 5, 1}, {9, 5, 1}}));
    EXPECT_EQ(kept->firstMarkEndingAfter(8)->start, 9);
    EXPECT_EQ(kept->firstMarkEndingAfter(14), kept->marks().end());
    expectConsistent(*kept);
}

TEST(LogText, ComparesRangesInPlaceHoweverEitherIsHeld) {
    // Long enough to be compared in several stretches; units listed apart on both sides.
    const QString text = u"\u20ACx"_s.repeated(40'000) + u"tail \u20AC"_s;
    QString changed = text;
    changed[changed.size() - 3] = u'X';
    const auto forms = [](const QString& t) {
        return std::vector<LogText>{LogText(t), LogText::narrowed(t)};
    };
    for (const LogText& a : forms(u"ab"_s + text)) {
        for (const LogText& b : forms(text)) {
            EXPECT_TRUE(a.holdsAt(2, b, 0, b.size()));
            EXPECT_TRUE(a.holdsAt(3, b, 1, 5));
            EXPECT_FALSE(a.holdsAt(2, b, 1, 5));        // shifted by one
            EXPECT_FALSE(a.holdsAt(3, b, 0, b.size())); // past the end
        }
        for (const LogText& b : forms(changed)) {
            EXPECT_FALSE(a.holdsAt(2, b, 0, b.size()));
            EXPECT_TRUE(a.holdsAt(2, b, 0, b.size() - 3));
        }
    }
}

TEST(SelectionMemo, KeepsASelectionWhoseTextIsStillThere) {
    const QString before = u"one\ntwo\nthree\nfour"_s;
    const TextSelection word{8, 13}; // "three"
    const struct {
        QString after;
        TextSelection selection;
        std::optional<TextSelection> kept;
    } cases[] = {
        {u"two\nthree\nfour"_s, word, TextSelection{4, 9}},             // lost a line at the top
        {u"one\ntwo\nthree\nfour\nfive"_s, word, TextSelection{8, 13}}, // grew at the end
        {u"two\nthree\nfour\nfive\nsix"_s, word, TextSelection{4, 9}},  // both
        {u"one\ntwo\nthree\nfour"_s, {13, 5}, TextSelection{13, 5}},    // backwards, two lines
        {u"one\ntwo\nthrex\nfour"_s, word, std::nullopt},               // the text changed
        {u"x"_s, word, std::nullopt},
        {before, {3, 3}, std::nullopt}, // nothing selected
    };
    const auto old = modelOf(before);
    for (const auto& c : cases) {
        EXPECT_EQ(SelectionMemo(*old, c.selection).restore(*modelOf(c.after)), c.kept)
            << c.after.toStdString();
    }
}

} // namespace
} // namespace ombrel
