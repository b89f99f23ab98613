#include "display/LogViewAccessible.h"

#include "display/LogView.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>

namespace ombrel {
namespace {

using namespace Qt::StringLiterals;

TEST(LogViewAccessible, ReadsTextCaretSelectionAndTheLookOfEachRun) {
    LogView view;
    view.setFont(QFont(u"DejaVu Sans Mono"_s, 10));
    view.resize(400, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    // "error" listed twice grows two steps; "warn" one.
    const QString text = u"boot ok\r\nan error here\nwarn: Error"_s;
    auto pass =
        KeywordPass::run({text, {u"error"_s, u"warn"_s, u"error"_s}, {true, false, false}, 1});
    view.setModel(DisplayModel::fromPass(std::move(*pass)));

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
               "text-position:baseline;text-underline-style:%3;"_s.arg(
                   QLatin1StringView(points), marked ? u"bold"_s : u"normal"_s,
                   marked ? u"dotted"_s : u"none"_s);
    };
    const struct {
        int offset;
        int start;
        int end;
        QString attributes;
    } runs[] = {{0, 0, 11, look("10", false)},
                {11, 11, 16, look("12.4", true)},
                {24, 22, 26, look("11.2", true)},
                {30, 28, 33, look("12.4", true)}};
    for (const auto& run : runs) {
        EXPECT_EQ(reader->attributes(run.offset, &start, &end), run.attributes) << run.offset;
        EXPECT_EQ(start, run.start) << run.offset;
        EXPECT_EQ(end, run.end) << run.offset;
    }
    EXPECT_EQ(reader->attributes(static_cast<int>(shown.size()), &start, &end), QString());

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
    view.setModel(DisplayModel::fromPass(*KeywordPass::run({u"new"_s, {}, {}, 2})));
    const auto change = LogViewAccessible::textChange(&view, *old);
    ASSERT_EQ(change->type(), QAccessible::TextUpdated);
    const auto* update = static_cast<QAccessibleTextUpdateEvent*>(change.get());
    EXPECT_EQ(std::pair(update->textRemoved(), update->textInserted()), std::pair(shown, u"new"_s));
    const QString large(LogViewAccessible::largestTextChange, u'x');
    view.setModel(DisplayModel::fromPass(*KeywordPass::run({large, {}, {}, 3})));
    EXPECT_EQ(LogViewAccessible::textChange(&view, *old)->type(), QAccessible::VisibleDataChanged);
}

} // namespace
} // namespace ombrel
