#include "display/LogView.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
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
        const QImage image = view.viewport()->grab().toImage();
        const QRgb background = view.palette().base().color().rgb();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != background) {
                    return true;
                }
            }
        }
        return false;
    }

    LogView view;
    const QString lines = u"first line\nsecond line here\nthird\n"_s;
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
    EXPECT_GT(view.verticalScrollBar()->maximum(), 80);
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
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    const struct {
        const char* what;
        std::function<void()> act;
        QString selected;
    } cases[] = {
        {"drag",
         [&] {
             QTest::mousePress(view.viewport(), Qt::LeftButton, {}, pointAt(0, 6));
             QTest::mouseMove(view.viewport(), pointAt(1, 6));
             QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, pointAt(1, 6));
         },
         u"line\nsecond"_s},
        {"shift click",
         [&] {
             QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointAt(0, 0));
             QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, pointAt(0, 5));
         },
         u"first"_s},
        {"shift arrows",
         [&] {
             QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointAt(1, 7));
             QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
             QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
             QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
         },
         u"line here\nthird"_s},
        {"shift end",
         [&] {
             QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointAt(1, 12));
             QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier);
         },
         u"here"_s},
        {"shift page down",
         [&] {
             QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointAt(1, 12));
             QTest::keyClick(&view, Qt::Key_PageDown, Qt::ShiftModifier);
         },
         u"here\nthird\n"_s},
        {"ctrl shift left",
         [&] {
             QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointAt(1, 9));
             QTest::keyClick(&view, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
         },
         u"li"_s},
        {"ctrl shift right, over a line end",
         [&] {
             QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointAt(1, 9));
             QTest::keyClick(&view, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
             QTest::keyClick(&view, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
         },
         u"ne here\n"_s},
        {"double click",
         [&] { QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, pointAt(1, 9)); },
         u"line"_s},
        {"select all", [&] { QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier); },
         u"first line\nsecond line here\nthird\n"_s},
    };
    for (const auto& c : cases) {
        c.act();
        EXPECT_EQ(view.selectedText(), c.selected) << c.what;
        QApplication::clipboard()->clear();
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), c.selected) << c.what;
    }

    // Letters beyond ASCII belong to words.
    view.setModel(modelOf(u"un café noir"_s));
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, pointAt(0, 4));
    EXPECT_EQ(view.selectedText(), u"café"_s);

    // The context menu offers the same.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointAt(0, 1));
    auto menu = view.createContextMenu();
    auto* copy = menu->findChild<QAction*>(u"copy"_s);
    auto* selectAll = menu->findChild<QAction*>(u"selectAll"_s);
    ASSERT_TRUE(copy && selectAll);
    EXPECT_FALSE(copy->isEnabled());
    selectAll->trigger();
    EXPECT_EQ(view.selectedText(), view.text());
    menu = view.createContextMenu();
    QApplication::clipboard()->clear();
    menu->findChild<QAction*>(u"copy"_s)->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), view.text());
}

TEST_F(LogViewTest, ASelectionSurvivesAnUpdateThatKeepsItsText) {
    view.setModel(modelOf(lines));
    view.setSelection(11, 17); // "second"
    view.setModel(modelOf(u"second line here\nthird\nfourth\n"_s));
    EXPECT_EQ(view.selectedText(), u"second"_s);
    view.setModel(modelOf(u"other\n"_s));
    EXPECT_TRUE(view.selection().isEmpty());
    EXPECT_EQ(view.selection().caret, 6);
}

TEST_F(LogViewTest, LongLinesScrollSidewaysAndManyLinesScrollDown) {
    // One 5 MB line: a horizontal scroll bar, the far end reachable and drawn (the time it
    // takes is for update_bench to measure).
    QString line(5'000'000, u'x');
    line += u"END"_s;
    view.setModel(modelOf(line, {u"end"_s}));
    QScrollBar* across = view.horizontalScrollBar();
    EXPECT_GT(across->maximum(), 1'000'000);
    EXPECT_EQ(across->value(), across->maximum()); // the caret after the last character
    EXPECT_TRUE(paintsSomething());
    across->setValue(across->maximum() / 2);
    EXPECT_TRUE(paintsSomething());

    // Lines with larger marks are drawn taller. For a look at them:
    // OMBREL_SCREENSHOT_DIR=/some/dir display_ui_tests
    view.setModel(
        modelOf(u"plain\nwarn: retry\nerror: disk full\n"_s, {u"warn"_s, u"error"_s, u"error"_s}));
    EXPECT_GT(view.lineHeight(1), view.lineHeight(0));
    EXPECT_GT(view.lineHeight(2), view.lineHeight(1));
    const QString folder = qEnvironmentVariable("OMBREL_SCREENSHOT_DIR");
    EXPECT_TRUE(folder.isEmpty() || view.grab().save(folder + u"/display-marks.png"_s));

    // A larger display font makes every line taller.
    const int before = view.lineHeight(0);
    view.setFont(QFont(u"DejaVu Sans Mono"_s, 20));
    EXPECT_GT(view.lineHeight(0), before);

    // Ten megabytes of empty lines.
    view.setModel(modelOf(QString(10'000'000, u'\n')));
    EXPECT_EQ(view.model()->lineCount(), 10'000'001);
    EXPECT_GT(view.verticalScrollBar()->maximum(), 9'999'000);
}

TEST_F(LogViewTest, ReportsClickedLinks) {
    view.setModel(modelOf(u"see http://example.org now\n"_s));
    view.setLinkFinder([](const DisplayModel& model, std::int64_t position) {
        const qsizetype start = model.text().indexOf(u"http"_s);
        const qsizetype end = model.text().indexOf(u' ', start);
        return position >= start && position < end ? std::optional(TextSelection{start, end})
                                                   : std::nullopt;
    });
    QSignalSpy clicked(&view, &LogView::linkActivated);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointAt(0, 1));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, pointAt(0, 8));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toLongLong(), 4);
    EXPECT_EQ(clicked.at(0).at(1).toLongLong(), 22);
}

} // namespace
} // namespace ombrel
