#include "app/CommandId.h"
#include "app/MainWindow.h"
#include "app/StatusBar.h"
#include "display/LogView.h"
#include "support/TempSettings.h"
#include "support/TestJournal.h"
#include "support/WindowTesting.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace ombrel;
using test::FakeLog;

namespace {

class MainWindowEventLogTest : public testing::Test {
protected:
    std::unique_ptr<MainWindow> makeWindow(RecordSourceMaker sources = {},
                                           const QStringList& hosts = {}) {
        StartupOptions startup;
        startup.journalDirectory = journal_.directory();
        startup.journalHosts = hosts;
        auto window = std::make_unique<MainWindow>(MainWindowSetup{
            startup, settings_.store(), QString(), {}, nullptr, std::move(sources)});
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }
    static QCheckBox* box(MainWindow& window, int id) {
        return qobject_cast<QCheckBox*>(window.control(id));
    }
    static void startOn(MainWindow& window, int logBox, const char* count = "10") {
        if (!box(window, logBox)->isChecked()) {
            box(window, logBox)->click();
        }
        qobject_cast<QLineEdit*>(window.control(IdCountBox))->setText(QString::fromLatin1(count));
        window.dispatchCommand(IdStart);
    }
    static QComboBox* computers(MainWindow& window) {
        return qobject_cast<QComboBox*>(window.control(IdComputerBox));
    }
    static bool shows(MainWindow& window, const QString& end, int timeoutMs = 5000) {
        return QTest::qWaitFor([&] { return window.display()->text().endsWith(end); }, timeoutMs);
    }

    test::TempSettings settings_;
    test::TestJournal journal_;
};

} // namespace

TEST_F(MainWindowEventLogTest, TheBoxesSwitchTheCountLabelAndTheFileControls) {
    auto window = makeWindow();
    auto* label = qobject_cast<QLabel*>(window->control(IdCountLabel));
    const QRect group = window->control(IdDisplayGroup)->geometry();
    const auto fileControlsEnabled = [&] {
        return window->control(IdFileNameBox)->isEnabled() &&
               window->control(IdFileNameLabel)->isEnabled() &&
               window->control(IdBrowse)->isEnabled();
    };
    // "Computer" is read aloud by its label, works only for an event log, and its row is laid
    // out left to right inside the Data group, nothing cut off nor overlapping.
    auto* computerLabel = qobject_cast<QLabel*>(window->control(IdComputerLabel));
    EXPECT_EQ(computerLabel->buddy(), computers(*window));
    EXPECT_EQ(computers(*window)->accessibleName(), computerLabel->text());
    const auto computerEnabled = [&] {
        return computers(*window)->isEnabled() && computerLabel->isEnabled();
    };
    EXPECT_FALSE(computerEnabled());
    const QRect data = window->control(IdDataGroup)->geometry();
    int right = data.left();
    for (QWidget* widget :
         {window->findChild<QWidget*>(u"eventLogLabel"_qs), window->control(IdApplicationLog),
          window->control(IdSystemLog), static_cast<QWidget*>(computerLabel),
          static_cast<QWidget*>(computers(*window))}) {
        const QRect at = widget->geometry();
        EXPECT_GT(at.left(), right) << widget->objectName().toStdString();
        // Texts whole; the box wide enough for a usual host name.
        EXPECT_GE(at.width(), widget == computers(*window)
                                  ? widget->fontMetrics().horizontalAdvance(u"db2.example.org"_qs)
                                  : widget->sizeHint().width())
            << widget->objectName().toStdString();
        EXPECT_TRUE(data.contains(at)) << widget->objectName().toStdString();
        right = at.right();
    }
    // Box clicked, then whether Application and System are ticked.
    const std::tuple<int, bool, bool> steps[] = {
        {IdApplicationLog, true, false}, {IdSystemLog, false, true}, {IdSystemLog, false, false}};
    for (const auto& [click, application, system] : steps) {
        box(*window, click)->click();
        EXPECT_EQ(box(*window, IdApplicationLog)->isChecked(), application);
        EXPECT_EQ(box(*window, IdSystemLog)->isChecked(), system);
        EXPECT_EQ(label->text(), application || system ? QStringLiteral("Entries to Display")
                                                       : QStringLiteral("Bytes to Display"));
        // Read aloud as shown (a name set, so its change is announced), whole inside its group.
        EXPECT_EQ(label->accessibleName(), label->text());
        EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name),
                  label->text());
        EXPECT_EQ(window->control(IdCountBox)->accessibleName(), label->text());
        EXPECT_GE(label->width(), label->sizeHint().width());
        EXPECT_LE(label->geometry().right(), group.right());
        EXPECT_EQ(fileControlsEnabled(), !application && !system);
        EXPECT_EQ(computerEnabled(), application || system);
    }
}

TEST_F(MainWindowEventLogTest, SystemShowsTheNewestEntriesAndFollowsThemUntilAStartElsewhere) {
    ASSERT_TRUE(
        journal_.append({{{"MESSAGE", "one"}}, {{"MESSAGE", "two"}}, {{"MESSAGE", "three"}}}));
    auto window = makeWindow();
    startOn(*window, IdSystemLog, "2");
    ASSERT_TRUE(shows(*window, QStringLiteral("three\n\n")));
    EXPECT_TRUE(window->display()->text().startsWith(u"02\tEvent ID: 0\tTime: "));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Ombrel - System Log"));

    // Paused, the watch goes on.
    window->dispatchCommand(IdExitPause);
    ASSERT_TRUE(journal_.append({{{"MESSAGE", "four"}}}));
    EXPECT_TRUE(shows(*window, QStringLiteral("four\n\n")));

    // A Start on a missing file ends the watch and leaves the window paused.
    window->dispatchCommand(IdTrayStartPause);
    box(*window, IdSystemLog)->click();
    qobject_cast<QComboBox*>(window->control(IdFileNameBox))
        ->setEditText(journal_.directory() + QStringLiteral("/missing.log"));
    window->dispatchCommand(IdStart);
    EXPECT_FALSE(window->monitor().running());
    ASSERT_TRUE(journal_.append({{{"MESSAGE", "five"}}}));
    EXPECT_FALSE(shows(*window, QStringLiteral("five\n\n"), 700));

    // The folder holds no journal of the user's: the status bar says why nothing shows.
    startOn(*window, IdApplicationLog);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Ombrel - Application Log"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return window->panes()->paneText(StatusBar::messagePane) ==
                       QStringLiteral("No journal of this user (user-%1.journal) in %2")
                           .arg(::getuid())
                           .arg(journal_.directory()) &&
                   window->display()->text().isEmpty();
        },
        5000));
    test::saveScreenshot(*window, "system-log");

    // What the pane told goes at the first read that finds files: of a new watch, or of this
    // watch once the user's journal appears.
    const auto pane = [&] { return window->panes()->paneText(StatusBar::messagePane); };
    startOn(*window, IdSystemLog);
    EXPECT_TRUE(shows(*window, QStringLiteral("five\n\n")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return pane().isEmpty(); }, 2000)) << pane().toStdString();
    startOn(*window, IdApplicationLog);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pane().isEmpty(); }, 5000));
    ASSERT_TRUE(journal_.append({{{"MESSAGE", "mine"}}},
                                QStringLiteral("user-%1.journal").arg(::getuid())));
    EXPECT_TRUE(shows(*window, QStringLiteral("mine\n\n")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return pane().isEmpty(); }, 2000)) << pane().toStdString();
}

TEST_F(MainWindowEventLogTest, TheComputerBoxOffersTheNamesChoosesMachinesAndIsSavedAtStart) {
    // A name no one could type is not offered.
    ASSERT_TRUE(journal_.append({{{"_HOSTNAME", "odd\rname"}, {"MESSAGE", "o1"}}},
                                QStringLiteral("remote-odd.journal")));
    ASSERT_TRUE(journal_.append({{{"_HOSTNAME", "web1"}, {"MESSAGE", "w1"}}},
                                QStringLiteral("remote-web1.journal")));
    ASSERT_TRUE(journal_.append({{{"_HOSTNAME", "db2"}, {"MESSAGE", "d1"}}},
                                QStringLiteral("remote-db2.journal")));
    // Started with the stored (or given) computers, which the box shows.
    auto window = makeWindow({}, {QStringLiteral("web1"), QStringLiteral("db2")});
    QComboBox* chosen = computers(*window);
    EXPECT_EQ(chosen->currentText(), QStringLiteral("web1;;db2"));
    box(*window, IdSystemLog)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return chosen->count() == 2; }, 5000));
    EXPECT_EQ(chosen->itemText(0), QStringLiteral("db2"));
    EXPECT_EQ(chosen->itemText(1), QStringLiteral("web1"));
    EXPECT_EQ(chosen->currentText(), QStringLiteral("web1;;db2")); // the list left the text alone

    // Text typed, then what the display ends with and what the store holds after Start.
    const std::tuple<const char*, const char*, const char*> steps[] = {
        {" web1 ", "Source:  \nw1\n\n", "web1"},
        {"", "Source:  \tComputer: db2\nd1\n\n", ""},
        {"db2;;nowhere", "Source:  \nd1\n\n", "db2;;nowhere"},
    };
    for (const auto& [typed, end, stored] : steps) {
        chosen->setEditText(QString::fromLatin1(typed));
        window->dispatchCommand(IdStart);
        EXPECT_TRUE(shows(*window, QString::fromLatin1(end))) << typed;
        EXPECT_EQ(window->display()->text().count(u"Event ID"), *typed ? 1 : 3) << typed;
        EXPECT_EQ(settings_.store().readSetting(QStringLiteral("JournalHosts")),
                  QString::fromLatin1(stored));
    }

    // A store that cannot take the choice says so; the choice holds in this window.
    StartupOptions startup;
    startup.journalDirectory = journal_.directory();
    MainWindow unsaved(MainWindowSetup{startup,
                                       SettingsStore::atFile(u"/proc/no-such-dir/Ombrel.conf"_qs),
                                       QString(),
                                       {},
                                       nullptr});
    unsaved.show();
    computers(unsaved)->setEditText(QStringLiteral("web1"));
    startOn(unsaved, IdSystemLog);
    EXPECT_TRUE(shows(unsaved, QStringLiteral("Source:  \nw1\n\n")));
    const auto* told = unsaved.findChild<QMessageBox*>(u"computersNotSavedBox"_qs);
    ASSERT_NE(told, nullptr);
    EXPECT_TRUE(told->text().contains(u"No such file or directory"_qs))
        << told->text().toStdString();
}

TEST_F(MainWindowEventLogTest, AFailedWaitShowsItsErrorAndCloseAndStartEndTheWorker) {
    FakeLog failing;
    failing.wait = FakeLog::Wait::Fail;
    failing.waitError = 5;
    auto window = makeWindow(failing.maker());
    startOn(*window, IdSystemLog);
    const auto message = [&] { return window->findChild<QMessageBox*>(u"waitErrorBox"_qs); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return message() != nullptr; }, 5000));
    EXPECT_EQ(message()->text(), QStringLiteral("Wait error: 5"));
    message()->close();

    // A worker waiting on its journal ends before a Start, a drop or the close goes on.
    FakeLog waiting;
    auto watched = makeWindow(waiting.maker());
    startOn(*watched, IdSystemLog);
    ASSERT_TRUE(QTest::qWaitFor([&] { return waiting.reads == 1; }, 5000));
    QElapsedTimer clock;
    clock.start();
    watched->dispatchCommand(IdStart);
    EXPECT_LT(clock.elapsed(), 1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return waiting.reads == 2; }, 5000));
    EXPECT_EQ(waiting.alive, 1); // the second worker's source only

    const QString dropped = journal_.directory() + QStringLiteral("/dropped.log");
    test::dropFiles(*watched, watched->control(IdFileNameBox), {dropped});
    EXPECT_EQ(watched->monitor().filePath(), dropped);
    EXPECT_EQ(waiting.alive, 0);

    startOn(*watched, IdSystemLog);
    ASSERT_TRUE(QTest::qWaitFor([&] { return waiting.reads == 3; }, 5000));
    watched->close();
    EXPECT_EQ(waiting.alive, 0);
}
