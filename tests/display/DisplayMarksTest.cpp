#include "display/DisplayDocumentBuilder.h"
#include "display/DisplaySwitcher.h"
#include "display/KeywordPass.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <thread>

namespace ombrel {
namespace {

using namespace Qt::StringLiterals;

constexpr KeywordFlags highlight{true, false, false};

// One character per document character: '-' plain, a digit for a bold, dotted mark grown that
// many steps, '?' for anything else.
QString looksOf(const QTextDocument& document) {
    QString looks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const bool bold = format.fontWeight() == QFont::Bold;
            const bool dotted = format.underlineStyle() == QTextCharFormat::DotLine;
            const bool sized = format.hasProperty(QTextFormat::FontPointSize);
            const bool coloured = format.hasProperty(QTextFormat::ForegroundBrush) ||
                                  format.hasProperty(QTextFormat::BackgroundBrush);
            QChar look = u'?';
            if (!bold && !dotted && !sized && !coloured) {
                look = u'-';
            } else if (bold && dotted && !coloured) {
                const double steps = sized ? (format.fontPointSize() - 10) / 1.2 : 0;
                look = QChar(u'0' + qRound(steps));
            }
            looks += QString(it.fragment().length(), look);
        }
        if (block.next().isValid()) {
            looks += u'-'; // the line end between blocks
        }
    }
    return looks;
}

// Expected looks: plain everywhere except at the given words of the shown text.
QString expectedLooks(const QString& shown, const std::vector<std::pair<QString, int>>& marked) {
    QString looks(shown.size(), u'-');
    for (const auto& [word, steps] : marked) {
        for (qsizetype at = shown.indexOf(word); at >= 0; at = shown.indexOf(word, at + 1)) {
            looks.replace(at, word.size(), QString(word.size(), QChar(u'0' + steps)));
        }
    }
    return looks;
}

class DisplayMarksTest : public testing::Test {
protected:
    void SetUp() override {
        display.setReadOnly(true);
        display.setLineWrapMode(QPlainTextEdit::NoWrap);
        display.setFont(QFont(u"DejaVu Sans Mono"_s, 10));
        display.resize(640, 240);
    }

    PassResult pass(const QString& input, const QStringList& words,
                    KeywordFlags flags = highlight) {
        auto result = KeywordPass::run({input, words, flags, generations.advance()});
        EXPECT_TRUE(result.has_value());
        return result.value_or(PassResult{});
    }

    QPlainTextEdit display;
    UpdateGeneration generations;
    // "error" is listed twice (two steps), "warn" once; "rr" sits inside "error".
    const QString text = u"boot ok\r\nan error here\r\nwarn: Error\rplain line\nlast WARN"_s;
    const QStringList keywords = {u"error"_s, u"warn"_s, u"error"_s};
    const std::vector<std::pair<QString, int>> marked = {
        {u"error"_s, 2}, {u"Error"_s, 2}, {u"warn"_s, 1}, {u"WARN"_s, 1}};
};

TEST_F(DisplayMarksTest, SwitcherInstallsBuiltDocumentWithMarks) {
    const PassResult result = pass(text, keywords, {true, true, false});
    std::unique_ptr<QTextDocument> built;
    std::thread worker(
        [&] { built = DisplayDocumentBuilder::build(result, display.font(), display.thread()); });
    worker.join();
    QPointer<QTextDocument> original = display.document();

    DisplaySwitcher switcher(display, generations);
    ASSERT_TRUE(switcher.install(std::move(built), result.generation));
    const QString shown = display.toPlainText();
    EXPECT_EQ(shown, u"an error here\nwarn: Error\nlast WARN"_s);
    EXPECT_EQ(looksOf(*display.document()), expectedLooks(shown, marked));
    EXPECT_TRUE(display.textCursor().atEnd());
    EXPECT_EQ(display.document()->defaultFont(), display.font());
    EXPECT_TRUE(original.isNull()); // the display freed the document it made itself

    // The next installed document replaces ours, which is freed on a worker thread.
    QPointer<QTextDocument> ours = display.document();
    const PassResult next = pass(u"warn"_s, keywords);
    ASSERT_TRUE(switcher.install(
        DisplayDocumentBuilder::build(next, display.font(), display.thread()), next.generation));
    EXPECT_EQ(display.toPlainText(), u"warn"_s);
    EXPECT_TRUE(QTest::qWaitFor([&ours] { return ours.isNull(); }, 5000));
}

TEST_F(DisplayMarksTest, SwitcherPresentsInPlaceAndDropsOlderUpdates) {
    DisplaySwitcher switcher(display, generations);
    // The text ends on a mark: the next text must not take its look.
    ASSERT_TRUE(switcher.present(pass(text, keywords)));
    const QString shown = display.toPlainText();
    EXPECT_EQ(shown, u"boot ok\nan error here\nwarn: Error\nplain line\nlast WARN"_s);
    EXPECT_EQ(looksOf(*display.document()), expectedLooks(shown, marked));
    EXPECT_TRUE(display.textCursor().atEnd());

    const PassResult older = pass(u"old error"_s, keywords);
    const PassResult newer = pass(u"new error"_s, keywords);
    ASSERT_TRUE(switcher.present(newer));
    EXPECT_FALSE(switcher.present(older));
    EXPECT_FALSE(switcher.install(
        DisplayDocumentBuilder::build(older, display.font(), display.thread()), older.generation));
    EXPECT_EQ(display.toPlainText(), u"new error"_s);
    EXPECT_EQ(looksOf(*display.document()), expectedLooks(u"new error"_s, {{u"error"_s, 2}}));
}

TEST_F(DisplayMarksTest, MarkedLinesAreDrawnTaller) {
    // Set OMBREL_SCREENSHOT to a file name to keep the picture for a look.
    const QString sample = u"12:00:01 [INFO ] request served in 12 ms\n"
                           "12:00:02 [WARN ] retry after timeout\n"
                           "12:00:04 [ERROR] request failed: connection refused\n"
                           "12:00:06 [ERROR] terror in the error handler\n"_s;
    DisplaySwitcher switcher(display, generations);
    ASSERT_TRUE(switcher.present(pass(sample, {u"error"_s, u"warn"_s, u"timeout"_s, u"failed"_s,
                                               u"error"_s, u"rr"_s, u"refused"_s})));
    display.show();
    QCoreApplication::processEvents();
    const auto lineHeight = [this](int line) {
        const QTextBlock block = display.document()->findBlockByNumber(line);
        return display.document()->documentLayout()->blockBoundingRect(block).height();
    };
    EXPECT_GT(lineHeight(1), lineHeight(0));
    EXPECT_GT(lineHeight(3), lineHeight(1)); // "rr" grows inside "error"
    const QString keep = qEnvironmentVariable("OMBREL_SCREENSHOT");
    if (!keep.isEmpty()) {
        EXPECT_TRUE(display.grab().save(keep));
    }
}

} // namespace
} // namespace ombrel
