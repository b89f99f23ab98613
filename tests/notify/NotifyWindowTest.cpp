// Desktop notifications of the window, with a stand-in notification server on a private session
// bus and a stand-in tray: runs under an X server and dbus-run-session (see CMakeLists.txt).
#include "app/CommandId.h"
#include "app/MainWindow.h"
#include "display/LogView.h"
#include "support/NotificationServer.h"
#include "support/TempFiles.h"
#include "support/TempSettings.h"
#include "support/TestJournal.h"
#include "support/WindowTesting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace ombrel;
using namespace Qt::StringLiterals;
using test::NotificationServer;

namespace {

class NotifyWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        tray_ = new QProcess;
        tray_->start(QStringLiteral(OMBREL_TRAY_HOST), {});
        // The tray is looked for once per process: the host must be up before any window.
        ASSERT_TRUE(tray_->waitForReadyRead(10000)) << "no tray host on the session bus";
    }
    static void TearDownTestSuite() {
        tray_->kill();
        tray_->waitForFinished();
        delete tray_;
    }
    void SetUp() override {
        ASSERT_TRUE(server_.owning()) << "no private session bus";
        settings_.set({{"Highlight", "1"}, {"Keywords", ";;ERROR"}});
    }

    std::unique_ptr<MainWindow> makeWindow(StartupOptions startup = {}) {
        MainWindowSetup setup{std::move(startup), settings_.store(), QString(), {}, {}};
        setup.notificationBus = QDBusConnection::sessionBus();
        auto window = std::make_unique<MainWindow>(std::move(setup));
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }
    // Watches name (written with text first), checked every second.
    std::unique_ptr<MainWindow> watch(const QString& name, const QByteArray& text = "start\n",
                                      const char* count = "100000") {
        const QString path = files_.write(name, text);
        auto window = makeWindow();
        qobject_cast<QComboBox*>(window->control(IdFileNameBox))->setEditText(path);
        qobject_cast<QComboBox*>(window->control(IdIntervalBox))->setEditText(u"1"_s);
        qobject_cast<QLineEdit*>(window->control(IdCountBox))->setText(QString::fromLatin1(count));
        window->dispatchCommand(IdStart);
        EXPECT_TRUE(window->waitForDisplayIdle(5000));
        return window;
    }
    // Appends to name and waits until the window shows the text's end.
    bool append(MainWindow& window, const QString& name, const QByteArray& text) {
        files_.append(name, text);
        const QString end = QString::fromUtf8(text.right(20));
        return QTest::qWaitFor([&] { return window.display()->text().endsWith(end); }, 5000);
    }
    static QString summaryOf(const MainWindow& window) {
        return u"Ombrel: "_s + window.windowTitle().mid(u"Ombrel - "_s.size());
    }

    static QProcess* tray_;
    NotificationServer server_;
    test::TempSettings settings_;
    test::TempFiles files_;
};

QProcess* NotifyWindowTest::tray_ = nullptr;

} // namespace

TEST_F(NotifyWindowTest, AFileChangeSendsItsNewMarkedLinesPlainCutAndEscaped) {
    auto window = watch(u"app.log"_s, "start\n", "2000000");
    const QByteArray longLine = "ERROR " + QByteArray(1 << 20, 'x') + "\n";
    ASSERT_TRUE(append(*window, u"app.log"_s,
                       "ok\nERROR <b>disk</b> & <a href=x>\x01 \xff\xfe\n" + longLine));
    ASSERT_TRUE(server_.waitForCalls(1));
    const test::NotifyCall& call = server_.calls()[0];
    EXPECT_EQ(call.appName, u"Ombrel"_s);
    EXPECT_EQ(call.summary, summaryOf(*window));
    const QStringList body = call.body.split(u'\n');
    ASSERT_EQ(body.size(), 2) << call.body.toStdString();
    EXPECT_TRUE(
        body[0].startsWith(u"ERROR &lt;b&gt;disk&lt;/b&gt; &amp; &lt;a href=x&gt;\uFFFD "_s))
        << body[0].toStdString();
    EXPECT_EQ(body[1], u"ERROR "_s + QString(194, u'x') + u"…"_s);
    EXPECT_FALSE(call.body.contains(u'<'));
    EXPECT_EQ(call.appIcon, u"ombrel"_s);
    EXPECT_EQ(call.image, QSize(64, 64)); // not installed here: the pixels go along
    EXPECT_EQ(call.desktopEntry, u"ombrel"_s);
    EXPECT_EQ(call.actions, (QStringList{u"default"_s, u"Show"_s, u"show"_s, u"Show"_s}));
    EXPECT_EQ(call.replacesId, 0u);
    EXPECT_EQ(call.expireTimeout, -1);
}

TEST_F(NotifyWindowTest, AJournalChangeNamesItsLog) {
    // Installed, the icon goes by its name alone.
    const QString icons = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                          u"/icons/hicolor/scalable/apps"_s;
    ASSERT_TRUE(QDir().mkpath(icons));
    QFile icon(icons + u"/ombrel.svg"_s);
    ASSERT_TRUE(icon.open(QIODevice::WriteOnly));
    icon.close();

    test::TestJournal journal;
    ASSERT_TRUE(journal.append({{{"MESSAGE", "ERROR before"}}}));
    StartupOptions startup;
    startup.journalDirectory = journal.directory();
    auto window = makeWindow(startup);
    qobject_cast<QCheckBox*>(window->control(IdSystemLog))->click();
    window->dispatchCommand(IdStart);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window->display()->text().contains(u"before"); }, 5000));
    ASSERT_TRUE(journal.append({{{"MESSAGE", "ERROR from the journal"}}}));
    ASSERT_TRUE(server_.waitForCalls(1));
    icon.remove();
    EXPECT_EQ(server_.calls()[0].summary, u"Ombrel: System Log"_s);
    EXPECT_EQ(server_.calls()[0].body, u"ERROR from the journal"_s);
    EXPECT_EQ(server_.calls()[0].image, QSize());
    EXPECT_EQ(server_.calls().size(), 1u); // the first text of a Start tells nothing
}

TEST_F(NotifyWindowTest, TheChoiceDecidesWhichChangesAreTold) {
    struct Step {
        const char* notify;
        QByteArray appended;
        const char* body; // null: no notification
    };
    for (const Step& step : {Step{"1", "plain\n", nullptr}, Step{"0", "ERROR off\n", nullptr},
                             Step{"2", "plain\n", "plain"}, Step{"1", "ERROR on\n", "ERROR on"}}) {
        SCOPED_TRACE(step.notify);
        settings_.set({{"Notify", step.notify}});
        auto window = watch(u"choice.log"_s);
        const std::size_t before = server_.calls().size();
        ASSERT_TRUE(append(*window, u"choice.log"_s, step.appended));
        if (step.body) {
            ASSERT_TRUE(server_.waitForCalls(before + 1));
            EXPECT_EQ(server_.calls().back().body, QString::fromLatin1(step.body));
        } else {
            QTest::qWait(300); // a call is on its way once the text shows
            EXPECT_EQ(server_.calls().size(), before);
        }
    }
}

TEST_F(NotifyWindowTest, ABurstIsOneNotificationThenOneReplacingIt) {
    auto window = watch(u"burst.log"_s);
    ASSERT_TRUE(append(*window, u"burst.log"_s, "ERROR 1\n"));
    ASSERT_TRUE(server_.waitForCalls(1));
    QElapsedTimer sinceFirst;
    sinceFirst.start();
    ASSERT_TRUE(append(*window, u"burst.log"_s, "ERROR 2\n"));
    ASSERT_TRUE(append(*window, u"burst.log"_s, "ERROR 3\n"));
    EXPECT_EQ(server_.calls().size(), 1u);
    ASSERT_TRUE(server_.waitForCalls(2, 7000));
    EXPECT_GE(sinceFirst.elapsed(), 4500);
    const test::NotifyCall& second = server_.calls()[1];
    EXPECT_EQ(second.replacesId, server_.calls()[0].id);
    EXPECT_EQ(second.body, u"ERROR 3\n1 more change"_s);
}

TEST_F(NotifyWindowTest, ShowBringsTheWindowBackAndSelectsTheNamedLine) {
    settings_.set({{"SysTray", "1"}}); // "Minimize" hides into the tray, the minimise box does not
    auto window = watch(u"show.log"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->tray().isShown(); }, 5000));
    QByteArray below; // enough lines to scroll the named one out of view
    for (int i = 0; i < 100; ++i) {
        below += "line " + QByteArray::number(i) + "\n";
    }
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"show", [&] { window->dispatchCommand(IdMinimize); }},
        {"default", [&] { window->showMinimized(); }}};
    std::size_t round = 0;
    for (const auto& [action, minimise] : cases) {
        SCOPED_TRACE(action);
        const QString named = u"ERROR named %1"_s.arg(++round);
        ASSERT_TRUE(append(*window, u"show.log"_s, named.toUtf8() + "\nERROR later\n" + below));
        ASSERT_TRUE(server_.waitForCalls(round, 7000)); // the second after the period
        minimise();
        const auto away = [&] { return !window->isVisible() || window->isMinimized(); };
        ASSERT_TRUE(QTest::qWaitFor(away, 2000));
        EXPECT_EQ(window->tray().state().windowInTray(), round == 1);
        const uint id = server_.calls().back().id;
        server_.invoke(id + 100, u"show"_s); // another program's notification
        server_.invoke(id, u"other"_s);      // an action not ours
        QTest::qWait(200);
        EXPECT_TRUE(away());

        server_.invoke(id, QString::fromLatin1(action), u"token"_s);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !away(); }, 2000));
        EXPECT_FALSE(window->tray().state().windowInTray());
        EXPECT_EQ(window->display()->selectedText(), named);
        const std::int64_t caret = window->display()->selection().caret;
        EXPECT_FALSE(window->display()->characterRect(caret).isEmpty()); // scrolled into view
        test::saveScreenshot(*window, "after-show");
    }
    // A window only behind others keeps its size.
    window->showMaximized();
    ASSERT_TRUE(append(*window, u"show.log"_s, "ERROR named 3\n" + below));
    ASSERT_TRUE(server_.waitForCalls(3, 7000));
    server_.invoke(server_.calls().back().id, u"show"_s);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return window->display()->selectedText() == u"ERROR named 3"_s; }, 2000));
    EXPECT_TRUE(window->isMaximized());
}

TEST_F(NotifyWindowTest, NoServerOrAFailingOneNeverHoldsUpTheWatch) {
    struct Case {
        const char* name;
        NotificationServer::Answer answer;
        bool present;
    };
    for (const Case c : {Case{"late", NotificationServer::Answer::Late, true},
                         Case{"error", NotificationServer::Answer::Error, true},
                         Case{"gone", NotificationServer::Answer::AtOnce, false}}) {
        SCOPED_TRACE(c.name);
        server_.setAnswer(c.answer, 4000);
        if (!c.present) {
            server_.leave();
        }
        auto window = watch(u"slow.log"_s);
        const std::size_t before = server_.calls().size();
        ASSERT_TRUE(append(*window, u"slow.log"_s, "ERROR one\n"));
        // While the answer is outstanding (or failed), changes still show within a check.
        QElapsedTimer shown;
        shown.start();
        ASSERT_TRUE(append(*window, u"slow.log"_s, "two\n"));
        EXPECT_LT(shown.elapsed(), 2500);
        EXPECT_EQ(server_.calls().size(), before + (c.present ? 1 : 0));
        server_.setAnswer(NotificationServer::Answer::AtOnce);
        if (!c.present) {
            // A server that comes back is told the next change (after the period).
            server_.comeBack();
            ASSERT_TRUE(append(*window, u"slow.log"_s, "ERROR three\n"));
            ASSERT_TRUE(server_.waitForCalls(before + 1, 7000));
            EXPECT_EQ(server_.calls().back().body, u"ERROR three"_s);
        }
    }
    // No bus at all: nothing is sent, and the watch goes on.
    MainWindowSetup setup{{}, settings_.store(), QString(), {}, {}};
    setup.notificationBus = QDBusConnection::connectToBus(u"unix:path=/nonexistent"_s, u"none"_s);
    MainWindow window(std::move(setup));
    const std::size_t before = server_.calls().size();
    window.show();
    qobject_cast<QComboBox*>(window.control(IdFileNameBox))
        ->setEditText(files_.write(u"n.log"_s, "a\n"));
    qobject_cast<QComboBox*>(window.control(IdIntervalBox))->setEditText(u"1"_s);
    window.dispatchCommand(IdStart);
    ASSERT_TRUE(append(window, u"n.log"_s, "ERROR none\n"));
    QTest::qWait(300);
    EXPECT_EQ(server_.calls().size(), before);
}
