#include "display/LogView.h"

#include "display/LogViewAccessible.h"
#include "support/WindowTesting.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace ombrel {
namespace {

using namespace Qt::StringLiterals;

// As the window shows a file: the text held narrow.
std::shared_ptr<const DisplayModel> modelOf(const QString& text, const QStringList& keywords = {}) {
    auto pass = KeywordPass::run({LogText::narrowed(text), keywords, {true, false, false}, 1});
    return DisplayModel::fromPass(std::move(*pass));
}

class LogViewTest : public testing::Test {
protected:
    void SetUp() override {
        view.setFont(QFont(u"DejaVu Sans Mono"_s, 10));
        view.resize(400, 200);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    // The viewport point in the middle of the character at column of line (line in view).
    QPoint pointAt(std::int64_t line, std::int64_t column) const {
        return view.characterRect(view.model()->lineStart(line) + column).center();
    }
    bool paintsSomething() {
        const QImage image =
            view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage blank(image.size(), QImage::Format_RGB32);
        blank.fill(view.palette().base().color());
        return image != blank;
    }

    LogView view;
};

TEST_F(LogViewTest, EndsOnTheLastLineWithTheCaretAfterIt) {
    QString many;
    for (int i = 0; i < 100; ++i) {
        many += u"line %1\n"_s.arg(i);
    }
    view.setModel(modelOf(many));
    EXPECT_EQ(view.text(), many);
    EXPECT_EQ(view.selection(), (TextSelection{many.size(), many.size()}));
    EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
    // Home and End of the whole text, Page keys and the wheel scroll.
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view.firstVisibleLine(), 0);
    QTest::keyClick(&view, Qt::Key_PageDown);
    const std::int64_t page = view.firstVisibleLine();
    EXPECT_GT(page, 3);
    QWheelEvent wheel(QPointF(10, 10), view.mapToGlobal(QPointF(10, 10)), {}, {0, -120},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &wheel);
    EXPECT_GT(view.firstVisibleLine(), page);
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
    EXPECT_EQ(view.selection().caret, many.size());

    view.setModel(nullptr); // an empty display
    EXPECT_EQ(view.text(), QString());
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
}

TEST_F(LogViewTest, SelectsWithMouseAndKeysAndCopiesPlainText) {
    view.setModel(modelOf(u"first line\r\nsecond line here\nthird\n"_s, {u"line"_s}));
    view.setFocus();
    QWidget* mouse = view.viewport();
    const auto expectSelected = [this](const QString& selected, const char* what) {
        EXPECT_EQ(view.selectedText(), selected) << what;
        QApplication::clipboard()->clear();
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), selected) << what;
    };
    QTest::mousePress(mouse, Qt::LeftButton, {}, pointAt(0, 6));
    QTest::mouseMove(mouse, pointAt(1, 6));
    QTest::mouseRelease(mouse, Qt::LeftButton, {}, pointAt(1, 6));
    expectSelected(u"line\nsecond"_s, "drag");
    QTest::mouseClick(mouse, Qt::LeftButton, {}, pointAt(0, 0));
    QTest::mouseClick(mouse, Qt::LeftButton, Qt::ShiftModifier, pointAt(0, 5));
    expectSelected(u"first"_s, "shift click");
    QTest::mouseDClick(mouse, Qt::LeftButton, {}, pointAt(1, 9));
    expectSelected(u"line"_s, "double click");

    const auto shift = Qt::ShiftModifier;
    const auto ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    const struct {
        std::int64_t line, column; // clicked before the keys
        std::vector<QKeyCombination> keys;
        QString selected;
    } cases[] = {
        {1, 7, {shift | Qt::Key_Down, shift | Qt::Key_Left}, u"line here\nthir"_s},
        {1, 12, {shift | Qt::Key_End}, u"here"_s},
        {1, 12, {shift | Qt::Key_PageDown}, u"here\nthird\n"_s},
        {1, 9, {ctrlShift | Qt::Key_Left}, u"li"_s},
        {1, 9, {ctrlShift | Qt::Key_Right, ctrlShift | Qt::Key_Right}, u"ne here\n"_s},
        {0, 0, {Qt::ControlModifier | Qt::Key_A}, u"first line\nsecond line here\nthird\n"_s},
    };
    for (const auto& c : cases) {
        QTest::mouseClick(mouse, Qt::LeftButton, {}, pointAt(c.line, c.column));
        for (const QKeyCombination key : c.keys) {
            QTest::keyClick(&view, key.key(), key.keyboardModifiers());
        }
        expectSelected(c.selected, c.selected.toUtf8().constData());
    }

    // Letters beyond ASCII belong to words.
    view.setModel(modelOf(u"un café noir"_s));
    QTest::mouseDClick(mouse, Qt::LeftButton, {}, pointAt(0, 4));
    EXPECT_EQ(view.selectedText(), u"café"_s);

    // The context menu offers the same.
    QTest::mouseClick(mouse, Qt::LeftButton, {}, pointAt(0, 1));
    auto menu = view.createContextMenu();
    auto* copy = menu->findChild<QAction*>(u"copy"_s);
    auto* selectAll = menu->findChild<QAction*>(u"selectAll"_s);
    ASSERT_TRUE(copy && selectAll);
    EXPECT_FALSE(copy->isEnabled());
    selectAll->trigger();
    QApplication::clipboard()->clear();
    view.createContextMenu()->findChild<QAction*>(u"copy"_s)->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), view.text());
}

TEST_F(LogViewTest, ASelectionSurvivesAnUpdateThatKeepsItsTextAndMiddleClickPastesTheLastOne) {
    view.setModel(modelOf(u"first line\nsecond line here\nthird\n"_s));
    view.setSelection(11, 17); // "second"
    // What a middle click pastes (X11's primary selection) stays the last selected text, even
    // once an update or a click has dropped the selection.
    const std::unique_ptr<QMimeData> primary = view.selectionMimeData();
    ASSERT_NE(primary, nullptr);
    view.setModel(modelOf(u"second line here\nthird\nfourth\n"_s));
    EXPECT_EQ(view.selectedText(), u"second"_s);
    view.setModel(modelOf(u"other\n"_s));
    EXPECT_TRUE(view.selection().isEmpty());
    EXPECT_EQ(view.selection().caret, 6);
    EXPECT_EQ(primary->text(), u"second"_s);

    view.setSelection(0, 5);
    const std::unique_ptr<QMimeData> next = view.selectionMimeData();
    ASSERT_NE(next, nullptr);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointAt(0, 2));
    EXPECT_EQ(view.selectionMimeData(), nullptr);
    EXPECT_EQ(next->text(), u"other"_s);
}

TEST_F(LogViewTest, CharactersAboveUFFFFAreNeverSplit) {
    // Two code units each: the smiley at 1-2 and 11-12, the letter 𝐱 (part of a word) at 7-8.
    const QString shown = u"a😀b. C𝐱d\n😀"_s;
    view.setModel(modelOf(shown));
    QAccessibleTextInterface* reader =
        QAccessible::queryAccessibleInterface(&view)->textInterface();
    ASSERT_NE(reader, nullptr);
    using Ask =
        QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int*, int*) const;
    const Ask at = &QAccessibleTextInterface::textAtOffset;
    const Ask before = &QAccessibleTextInterface::textBeforeOffset;
    const Ask after = &QAccessibleTextInterface::textAfterOffset;
    const struct {
        Ask ask;
        QAccessible::TextBoundaryType type;
        int offset, start, end;
    } cases[] = {
        {at, QAccessible::CharBoundary, 1, 1, 3},
        {at, QAccessible::CharBoundary, 2, 1, 3},
        {before, QAccessible::CharBoundary, 2, 0, 1},
        {before, QAccessible::CharBoundary, 3, 1, 3},
        {after, QAccessible::CharBoundary, 0, 1, 3},
        {after, QAccessible::CharBoundary, 2, 3, 4},
        {at, QAccessible::CharBoundary, 12, 11, 13},
        {before, QAccessible::CharBoundary, 13, 11, 13},
        {at, QAccessible::WordBoundary, 8, 6, 10},
        {before, QAccessible::WordBoundary, 8, 4, 6},
        {at, QAccessible::SentenceBoundary, 8, 6, 11},
    };
    for (const auto& c : cases) {
        int start = -1;
        int end = -1;
        EXPECT_EQ((reader->*c.ask)(c.offset, c.type, &start, &end),
                  shown.mid(c.start, c.end - c.start));
        EXPECT_EQ(std::pair(start, end), std::pair(c.start, c.end)) << c.type << " at " << c.offset;
    }
    // No kind of boundary falls inside a pair, wherever it is asked for.
    const auto splits = [&shown](int position) {
        return position > 0 && position < shown.size() && shown[position].isLowSurrogate();
    };
    for (const auto type : {QAccessible::CharBoundary, QAccessible::WordBoundary,
                            QAccessible::SentenceBoundary, QAccessible::LineBoundary}) {
        for (const Ask ask : {at, before, after}) {
            for (int offset = 0; offset <= shown.size(); ++offset) {
                int start = -1;
                int end = -1;
                const QString text = (reader->*ask)(offset, type, &start, &end);
                EXPECT_FALSE(splits(start) || splits(end)) << type << " at " << offset;
                EXPECT_EQ(text, start < 0 ? QString() : shown.mid(start, end - start));
            }
        }
    }

    // A caret placed inside a pair steps over it the way it went; a selection takes it whole.
    reader->setCursorPosition(2);
    EXPECT_EQ(view.selection().caret, 1);
    reader->setCursorPosition(2);
    EXPECT_EQ(view.selection().caret, 3);
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(view.selectedText(), u"😀"_s);
    reader->setSelection(0, 8, 2);
    EXPECT_EQ(view.selectedText(), u"😀b. C𝐱"_s);
    // A double click on a character that is no word selects all of it.
    const QRect smiley = view.characterRect(11);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {},
                       QPoint(smiley.left() + 1, smiley.center().y()));
    EXPECT_EQ(view.selectedText(), u"😀"_s);
}

TEST_F(LogViewTest, LongLinesScrollSidewaysAndManyLinesScrollDown) {
    // One 5 MB line: the far end reachable and drawn (the time it takes is update_bench's).
    QString line(5'000'000, u'x');
    line += u"END"_s;
    view.setModel(modelOf(line, {u"end"_s}));
    QScrollBar* across = view.horizontalScrollBar();
    EXPECT_GT(across->maximum(), 1'000'000);
    EXPECT_EQ(across->value(), across->maximum()); // the caret after the last character
    EXPECT_TRUE(paintsSomething());
    across->setValue(across->maximum() / 2);
    EXPECT_TRUE(paintsSomething());

    // Lines with larger marks, or in a larger font, are drawn taller.
    view.setModel(
        modelOf(u"plain\nwarn: retry\nerror: disk full\n"_s, {u"warn"_s, u"error"_s, u"error"_s}));
    EXPECT_GT(view.lineHeight(1), view.lineHeight(0));
    EXPECT_GT(view.lineHeight(2), view.lineHeight(1));
    test::saveScreenshot(view, "display-marks");
    const int before = view.lineHeight(0);
    view.setFont(QFont(u"DejaVu Sans Mono"_s, 20));
    EXPECT_GT(view.lineHeight(0), before);

    view.setModel(modelOf(QString(10'000'000, u'\n')));
    EXPECT_EQ(view.model()->lineCount(), 10'000'001);
    EXPECT_GT(view.verticalScrollBar()->maximum(), 9'999'000);
}

TEST_F(LogViewTest, AssistiveToolsReadTextCaretSelectionAndTheLookOfEachRun) {
    // "error" listed twice grows two steps; "warn" one.
    view.setModel(
        modelOf(u"boot ok\r\nan error here\nwarn: Error"_s, {u"error"_s, u"warn"_s, u"error"_s}));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), u"Display"_s);
    EXPECT_TRUE(accessible->state().readOnly);
    QAccessibleTextInterface* reader = accessible->textInterface();
    ASSERT_NE(reader, nullptr);
    const QString shown = u"boot ok\nan error here\nwarn: Error"_s;
    EXPECT_EQ(reader->characterCount(), shown.size());
    EXPECT_EQ(reader->text(0, reader->characterCount()), shown);
    EXPECT_EQ(reader->cursorPosition(), shown.size());
    int start = 0;
    int end = 0;
    EXPECT_EQ(reader->textAtOffset(12, QAccessible::LineBoundary, &start, &end),
              u"an error here\n"_s);
    EXPECT_EQ(start, 8);

    const auto look = [](const char* points, bool marked) {
        return u"font-family:\"DejaVu Sans Mono\";font-size:%1pt;font-style:normal;font-weight:%2;"
               "text-position:baseline;text-underline-style:%3;text-underline-type:%4;"_s.arg(
                   QLatin1StringView(points), marked ? u"bold"_s : u"normal"_s,
                   marked ? u"dotted"_s : u"none"_s, marked ? u"single"_s : u"none"_s);
    };
    const std::tuple<int, int, int, QString> runs[] = {
        {0, 0, 11, look("10", false)},    {11, 11, 16, look("12.4", true)},
        {16, 16, 22, look("10", false)},  {24, 22, 26, look("11.2", true)},
        {30, 28, 33, look("12.4", true)}, {33, -1, -1, QString()}};
    for (const auto& [offset, runStart, runEnd, attributes] : runs) {
        EXPECT_EQ(reader->attributes(offset, &start, &end), attributes) << offset;
        EXPECT_EQ(std::pair(start, end), std::pair(runStart, runEnd)) << offset;
    }

    // A selection made through the interface is the view's, and the other way round.
    reader->setSelection(0, 11, 16);
    EXPECT_EQ(view.selectedText(), u"error"_s);
    view.setSelection(0, 4);
    EXPECT_EQ(reader->selectionCount(), 1);
    reader->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(0, 4));
    EXPECT_EQ(reader->offsetAtPoint(view.viewport()->mapToGlobal(view.characterRect(9).center())),
              9);

    // A new text is announced whole, unless it is too large to hand over.
    const auto old = view.model();
    view.setModel(modelOf(u"new"_s));
    const auto change = LogViewAccessible::textChange(&view, *old);
    ASSERT_EQ(change->type(), QAccessible::TextUpdated);
    const auto* update = static_cast<QAccessibleTextUpdateEvent*>(change.get());
    EXPECT_EQ(std::pair(update->textRemoved(), update->textInserted()), std::pair(shown, u"new"_s));
    view.setModel(modelOf(QString(LogViewAccessible::largestTextChange, u'x')));
    EXPECT_EQ(LogViewAccessible::textChange(&view, *old)->type(), QAccessible::VisibleDataChanged);
}

} // namespace
} // namespace ombrel
