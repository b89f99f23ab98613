#include "app/MainWindow.h"

#include "app/CommandId.h"
#include "app/LogView.h"
#include "app/StatusBar.h"
#include "support/TempSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace ombrel;

namespace {

class MainWindowTest : public testing::Test {
protected:
    std::unique_ptr<MainWindow> makeWindow(StartupOptions startup = {}) {
        MainWindowSetup setup{startup, temp_.store(), QString(), {}};
        // Indented presets: their texts come without the white space around them.
        setup.config.loadText("<Config>\n  <Time>\n    1\n  </Time>\n  <Time>5</Time>\n</Config>");
        auto window = std::make_unique<MainWindow>(std::move(setup));
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    test::TempSettings temp_;
};

int exitCodeAfter(MainWindow& window, const std::function<void()>& action) {
    QSignalSpy finished(&window, &MainWindow::finished);
    action();
    if (finished.count() != 1) {
        return -1;
    }
    EXPECT_EQ(finished.at(0).at(0).toInt(), window.exitCode());
    EXPECT_FALSE(window.isVisible());
    return window.exitCode();
}

} // namespace

TEST_F(MainWindowTest, ClosesWithTheIdentifierOfWhatClosedIt) {
    auto escape = makeWindow();
    EXPECT_EQ(exitCodeAfter(*escape, [&] { QTest::keyClick(escape.get(), Qt::Key_Escape); }), 2);

    auto exitButton = makeWindow();
    EXPECT_EQ(exitCodeAfter(
                  *exitButton,
                  [&] { qobject_cast<QPushButton*>(exitButton->control(IdExitPause))->click(); }),
              1018);

    auto fileExit = makeWindow();
    EXPECT_EQ(exitCodeAfter(*fileExit, [&] { fileExit->action(IdExit)->trigger(); }), 32773);

    auto closeBox = makeWindow();
    EXPECT_EQ(exitCodeAfter(*closeBox, [&] { closeBox->close(); }), 2);
}

TEST_F(MainWindowTest, ShowsItsTemplateAtStart) {
    StartupOptions startup;
    startup.byteCount = 250;
    startup.checkInterval = 7;
    auto window = makeWindow(startup);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Ombrel 2.0"));
    EXPECT_EQ(qobject_cast<QComboBox*>(window->control(IdIntervalBox))->currentText(),
              QStringLiteral("7"));
    auto* presets = qobject_cast<QComboBox*>(window->control(IdIntervalBox));
    ASSERT_EQ(presets->count(), 2);
    EXPECT_EQ(presets->itemText(0), QStringLiteral("1"));
    EXPECT_EQ(presets->itemText(1), QStringLiteral("5"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(window->control(IdCountBox))->text(), QStringLiteral("250"));
    EXPECT_FALSE(window->control(IdPrintButton)->isEnabled());
    EXPECT_EQ(window->panes()->paneText(StatusBar::messagePane), QStringLiteral("Ready"));
    EXPECT_TRUE(window->display()->isReadOnly());
    EXPECT_EQ(window->display()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(window->minimumSize(), QSize(320, 250));
}

TEST_F(MainWindowTest, EveryControlHasAnAccessibleName) {
    auto window = makeWindow();
    const std::pair<int, const char*> expected[] = {
        {IdFileNameBox, "Filename"},
        {IdIntervalBox, "Secs between Checks"},
        {IdCountBox, "Bytes to Display"},
        {IdDisplay, "Display"},
        {IdStart, "Start"},
        {IdExitPause, "Exit"},
        {IdPrintButton, "Print"},
        {IdBrowse, "Browse"},
        {IdHead, "Head"},
        {IdApplicationLog, "Application"},
        {IdSystemLog, "System"},
        {IdDataGroup, "Data"},
        {IdDisplayGroup, "Display"},
    };
    for (const auto& [id, name] : expected) {
        EXPECT_EQ(window->control(id)->accessibleName(), QString::fromLatin1(name)) << id;
    }
    const auto children = window->findChildren<QWidget*>();
    for (const QWidget* child : children) {
        const bool needsName = qobject_cast<const QAbstractButton*>(child) ||
                               qobject_cast<const QComboBox*>(child) ||
                               qobject_cast<const QPlainTextEdit*>(child);
        if (needsName && child->parentWidget() &&
            child->parentWidget()->objectName() == u"client") {
            EXPECT_FALSE(child->accessibleName().isEmpty()) << child->objectName().toStdString();
        }
    }
}

TEST_F(MainWindowTest, TypingANameAndPressingEnterDoesNotAddItToTheList) {
    auto window = makeWindow();
    auto* box = qobject_cast<QComboBox*>(window->control(IdFileNameBox));
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("/no/such/file.log"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->count(), 0);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, ResizingStretchesAndMovesOnlyTheListedControls) {
    auto window = makeWindow();
    std::map<int, QRect> before;
    const int ids[] = {IdFileNameBox, IdDataGroup,   IdBrowse,   IdDisplay,      IdStart,
                       IdExitPause,   IdPrintButton, IdCountBox, IdDisplayGroup, IdIntervalBox};
    for (int id : ids) {
        before[id] = window->control(id)->geometry();
    }
    const QSize size = window->size();
    window->resize(size.width() + 100, size.height() + 50);
    QTest::qWait(50);
    EXPECT_EQ(window->control(IdFileNameBox)->geometry(),
              before[IdFileNameBox].adjusted(0, 0, 100, 0));
    EXPECT_EQ(window->control(IdDataGroup)->geometry(), before[IdDataGroup].adjusted(0, 0, 100, 0));
    EXPECT_EQ(window->control(IdBrowse)->geometry(), before[IdBrowse].translated(100, 0));
    EXPECT_EQ(window->control(IdDisplay)->geometry(), before[IdDisplay].adjusted(0, 0, 100, 50));
    for (int id :
         {IdStart, IdExitPause, IdPrintButton, IdCountBox, IdDisplayGroup, IdIntervalBox}) {
        EXPECT_EQ(window->control(id)->geometry(), before[id]) << id;
    }
    // The status bar stays docked along the bottom edge.
    EXPECT_EQ(window->panes()->geometry().bottom(), window->rect().bottom());
    EXPECT_EQ(window->panes()->width(), window->width());

    window->resize(100, 100);
    QTest::qWait(50);
    EXPECT_GE(window->width(), 320);
    EXPECT_GE(window->height(), 250);
}

TEST_F(MainWindowTest, StatusPanesAreAddressedById) {
    auto window = makeWindow();
    StatusBar* bar = window->panes();
    bar->setPaneText(StatusBar::messagePane,
                     QStringLiteral("Update: Sun Dec  6 19:00:00 2026\n   Lines: 3"));
    const auto* label = bar->findChild<QLabel*>(QStringLiteral("messagePane"));
    EXPECT_FALSE(label->text().contains(u'\n'));
    bar->setPaneText(99, QStringLiteral("nowhere"));
    EXPECT_EQ(bar->paneText(99), QString());
    EXPECT_TRUE(bar->paneText(StatusBar::messagePane).startsWith(u"Update:"));
    EXPECT_FALSE(bar->paneIcon(StatusBar::statePane).isNull());
}

TEST_F(MainWindowTest, KeepsTheWindowRectangleOnlyWhenAsked) {
    auto window = makeWindow();
    EXPECT_EQ(exitCodeAfter(*window, [&] { window->close(); }), 2);
    EXPECT_EQ(temp_.store().readSetting(QStringLiteral("StoreLeft")), std::nullopt);

    temp_.store().writeSetting(QStringLiteral("StoreLast"), QStringLiteral("1"));
    auto keeping = makeWindow();
    keeping->setGeometry(40, 60, 500, 400);
    QTest::qWait(20);
    const QRect kept = keeping->normalGeometry();
    EXPECT_EQ(exitCodeAfter(*keeping, [&] { keeping->close(); }), 2);
    EXPECT_EQ(temp_.store().readNumber(QStringLiteral("StoreLeft")), kept.left());
    EXPECT_EQ(temp_.store().readNumber(QStringLiteral("StoreTop")), kept.top());
    EXPECT_EQ(temp_.store().readNumber(QStringLiteral("StoreRight")), kept.left() + kept.width());
    EXPECT_EQ(temp_.store().readNumber(QStringLiteral("StoreBottom")), kept.top() + kept.height());
}

TEST_F(MainWindowTest, SavesAScreenshotWhenAsked) {
    // For looking at the window: OMBREL_SCREENSHOT_DIR=/some/dir main_window_tests
    const QString folder = qEnvironmentVariable("OMBREL_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "OMBREL_SCREENSHOT_DIR not set";
    }
    StartupOptions startup;
    startup.sourceText = QStringLiteral("/var/log/syslog");
    auto window = makeWindow(startup);
    window->display()->setPlainText(
        QStringLiteral("Dec  6 19:00:01 host app[12]: started\n"
                       "Dec  6 19:00:02 host app[12]: ERROR disk full\n"));
    EXPECT_TRUE(window->grab().save(folder + QStringLiteral("/main-window.png")));
}

TEST_F(MainWindowTest, HidingTheControlsLeavesTheDisplayAndPutsItBack) {
    StartupOptions startup;
    startup.hideControls = true;
    auto window = makeWindow(startup);
    EXPECT_FALSE(window->control(IdStart)->isVisible());
    EXPECT_FALSE(window->control(IdFileNameBox)->isVisible());
    EXPECT_TRUE(window->display()->isVisible());
    EXPECT_EQ(window->display()->geometry().topLeft(), QPoint(7, 7));
    EXPECT_EQ(window->action(IdHideControls)->text(), QStringLiteral("S&how Controls"));

    window->dispatchCommand(IdHideControls);
    EXPECT_TRUE(window->control(IdStart)->isVisible());
    EXPECT_EQ(window->action(IdHideControls)->text(), QStringLiteral("&Hide Controls"));
    const QRect display = window->display()->geometry();
    const QSize client = window->centralWidget()->size();
    EXPECT_GT(display.top(), window->control(IdStart)->geometry().bottom());
    EXPECT_EQ(display.right() + 1, client.width() - 14);
    EXPECT_EQ(display.bottom() + 1, client.height() - 21);
}

TEST_F(MainWindowTest, TheProgramsOwnArchiveGivesTheIntervalPresets) {
    MainWindowSetup setup{{}, temp_.store(), QString(), {}};
    setup.config.load(QStringLiteral(OMBREL_ARCHIVE));
    MainWindow window(std::move(setup));
    auto* presets = qobject_cast<QComboBox*>(window.control(IdIntervalBox));
    QStringList items;
    for (int i = 0; i < presets->count(); ++i) {
        items << presets->itemText(i);
    }
    EXPECT_EQ(items,
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("5"),
                           QStringLiteral("10"), QStringLiteral("30"), QStringLiteral("60")}));
    EXPECT_EQ(presets->currentText(), QStringLiteral("5"));
}
