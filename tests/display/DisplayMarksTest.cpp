#include "display/DisplayDocumentBuilder.h"
#include "display/DisplaySwitcher.h"
#include "display/KeywordPass.h"
#include "display/MarkApplier.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QImage>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <thread>

namespace ombrel {
namespace {

using namespace Qt::StringLiterals;

constexpr KeywordFlags highlight{true, false, false};

// How one character of a document is drawn, as far as marks are concerned.
struct Look {
    bool bold = false;
    bool dotted = false;
    double points = 0; // 0: the document's own size
    bool coloured = false;
    friend bool operator==(const Look&, const Look&) = default;
    friend void PrintTo(const Look& look, std::ostream* out) {
        *out << (look.bold ? "bold" : "normal") << (look.dotted ? " dotted " : " ") << look.points
             << (look.coloured ? " coloured" : "");
    }
};

// The look of every character of document, read back from its blocks and fragments.
std::vector<Look> looksOf(const QTextDocument& document) {
    std::vector<Look> looks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const Look look{format.fontWeight() == QFont::Bold,
                            format.underlineStyle() == QTextCharFormat::DotLine,
                            format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                                           : 0,
                            format.hasProperty(QTextFormat::ForegroundBrush) ||
                                format.hasProperty(QTextFormat::BackgroundBrush)};
            looks.insert(looks.end(), static_cast<std::size_t>(it.fragment().length()), look);
        }
        if (block.next().isValid()) {
            looks.emplace_back(); // the line end between blocks
        }
    }
    return looks;
}

// Expected looks: plain everywhere except at the given substrings of the shown text.
std::vector<Look> expectedLooks(const QString& shown,
                                const std::vector<std::pair<QString, double>>& marked) {
    std::vector<Look> looks(static_cast<std::size_t>(shown.size()));
    for (const auto& [word, points] : marked) {
        for (qsizetype at = shown.indexOf(word); at >= 0; at = shown.indexOf(word, at + 1)) {
            for (qsizetype i = at; i < at + word.size(); ++i) {
                looks[static_cast<std::size_t>(i)] = Look{true, true, points, false};
            }
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
    const std::vector<std::pair<QString, double>> marked = {
        {u"error"_s, 12.4}, {u"Error"_s, 12.4}, {u"warn"_s, 11.2}, {u"WARN"_s, 11.2}};
};

TEST_F(DisplayMarksTest, ApplierFormatsExactlyTheMarkedRanges) {
    display.setPlainText(text);
    MarkApplier::apply(*display.document(), pass(text, keywords).marks);
    const QString shown = display.toPlainText();
    EXPECT_EQ(shown, u"boot ok\nan error here\nwarn: Error\nplain line\nlast WARN"_s);
    EXPECT_EQ(looksOf(*display.document()), expectedLooks(shown, marked));
}

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
    EXPECT_TRUE(display.isReadOnly());
    EXPECT_EQ(display.document()->defaultFont(), display.font());
    EXPECT_TRUE(original.isNull()); // the display freed the document it made itself

    // The next installed document replaces ours, which is freed on a worker thread.
    QPointer<QTextDocument> ours = display.document();
    const PassResult next = pass(u"warn"_s, keywords);
    ASSERT_TRUE(switcher.install(
        DisplayDocumentBuilder::build(next, display.font(), display.thread()), next.generation));
    EXPECT_EQ(display.toPlainText(), u"warn"_s);
    QTRY_VERIFY(ours.isNull());
}

TEST_F(DisplayMarksTest, SwitcherPresentsInPlaceAndDropsOlderUpdates) {
    DisplaySwitcher switcher(display, generations);
    ASSERT_TRUE(switcher.present(pass(text, keywords, {true, false, true})));
    EXPECT_EQ(display.toPlainText(), u"boot ok\nplain line\n"_s);
    EXPECT_EQ(looksOf(*display.document()), expectedLooks(u"boot ok\nplain line\n"_s, {}));
    EXPECT_TRUE(display.textCursor().atEnd());

    const PassResult older = pass(u"old error"_s, keywords);
    const PassResult newer = pass(u"new error"_s, keywords);
    ASSERT_TRUE(switcher.present(newer));
    EXPECT_FALSE(switcher.present(older));
    EXPECT_FALSE(switcher.install(
        DisplayDocumentBuilder::build(older, display.font(), display.thread()), older.generation));
    EXPECT_EQ(display.toPlainText(), u"new error"_s);
    EXPECT_EQ(looksOf(*display.document()), expectedLooks(u"new error"_s, {{u"error"_s, 12.4}}));
}

TEST_F(DisplayMarksTest, MarksShowOnScreen) {
    // Two displays with the same text, one marked: the marked lines must be drawn taller and
    // differently. Set OMBREL_SCREENSHOT to a file name to keep the picture for a look.
    const QString sample =
        u"2024-05-01 12:00:01 [INFO ] worker-1 request served in 12 ms\n"
        "2024-05-01 12:00:02 [WARN ] worker-2 retry after timeout (attempt 2)\n"
        "2024-05-01 12:00:03 [INFO ] worker-3 cache lookup ok\n"
        "2024-05-01 12:00:04 [ERROR] worker-1 request failed: connection refused\n"
        "2024-05-01 12:00:05 [INFO ] worker-2 session opened for user anna\n"
        "2024-05-01 12:00:06 [ERROR] worker-3 terror in the error handler\n"_s;
    const QStringList words = {u"error"_s, u"warn"_s, u"timeout"_s, u"failed"_s,
                               u"error"_s, u"rr"_s,   u"refused"_s};
    QPlainTextEdit plain;
    plain.setReadOnly(true);
    plain.setLineWrapMode(QPlainTextEdit::NoWrap);
    plain.setFont(display.font());
    plain.resize(display.size());
    plain.setPlainText(sample);
    DisplaySwitcher switcher(display, generations);
    ASSERT_TRUE(switcher.present(pass(sample, words)));
    display.show();
    plain.show();
    QCoreApplication::processEvents();

    const auto lineHeight = [](const QPlainTextEdit& edit, int line) {
        const QTextBlock block = edit.document()->findBlockByNumber(line);
        return edit.document()->documentLayout()->blockBoundingRect(block).height();
    };
    EXPECT_DOUBLE_EQ(lineHeight(display, 0), lineHeight(plain, 0));
    EXPECT_GT(lineHeight(display, 1), lineHeight(plain, 1));
    EXPECT_GT(lineHeight(display, 5), lineHeight(display, 1)); // "rr" grows inside "error"

    const QImage withMarks = display.grab().toImage();
    const QImage withoutMarks = plain.grab().toImage();
    EXPECT_NE(withMarks, withoutMarks);
    const QString keep = qEnvironmentVariable("OMBREL_SCREENSHOT");
    if (!keep.isEmpty()) {
        EXPECT_TRUE(withMarks.save(keep));
    }
}

} // namespace
} // namespace ombrel
