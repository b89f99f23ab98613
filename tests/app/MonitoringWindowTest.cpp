#include "app/CommandId.h"
#include "app/LogView.h"
#include "app/MainWindow.h"
#include "app/StatusBar.h"
#include "support/TempSettings.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace ombrel;

namespace {

class MonitoringWindowTest : public testing::Test {
protected:
    std::unique_ptr<MainWindow> makeWindow(StartupOptions startup = {}) {
        MainWindowSetup setup{std::move(startup), temp_.store(), QString(), {}};
        auto window = std::make_unique<MainWindow>(std::move(setup));
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }
    QString writeFile(const QString& name, const QByteArray& content,
                      QIODevice::OpenMode mode = QIODevice::WriteOnly) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(mode));
        file.write(content);
        return path;
    }
    static void typeStart(MainWindow& window, const QString& name, const QString& interval,
                          const QString& count) {
        qobject_cast<QComboBox*>(window.control(IdFileNameBox))->setEditText(name);
        qobject_cast<QComboBox*>(window.control(IdIntervalBox))->setEditText(interval);
        qobject_cast<QLineEdit*>(window.control(IdCountBox))->setText(count);
        window.dispatchCommand(IdStart);
        window.waitForDisplayIdle(5000);
    }
    static QString exitText(MainWindow& window) {
        return qobject_cast<QPushButton*>(window.control(IdExitPause))->text();
    }

    test::TempSettings temp_;
    QTemporaryDir dir_;
};

} // namespace

TEST_F(MonitoringWindowTest, StartShowsTheTailAndItsStatus) {
    const QString path = writeFile(QStringLiteral("app.log"), "first\nsecond\nthird\n");
    auto window = makeWindow();
    typeStart(*window, path, QStringLiteral("5"), QStringLiteral("13"));
    EXPECT_TRUE(window->monitor().running());
    EXPECT_TRUE(window->windowTitle().startsWith(u"Ombrel - "));
    EXPECT_EQ(exitText(*window), QStringLiteral("Pause"));
    EXPECT_TRUE(window->control(IdPrintButton)->isEnabled());
    EXPECT_EQ(window->display()->toPlainText(), QStringLiteral("second\nthird\n"));
    const QString status = window->panes()->paneText(StatusBar::messagePane);
    EXPECT_TRUE(status.startsWith(u"Update: ")) << status.toStdString();
    EXPECT_TRUE(status.endsWith(u"\n   Filesize: 19   Lines: 3")) << status.toStdString();
    // The caret rests after the last line.
    EXPECT_EQ(window->display()->textCursor().position(), window->display()->toPlainText().size());

    // Pause, then Exit closes.
    window->dispatchCommand(IdExitPause);
    EXPECT_FALSE(window->monitor().running());
    EXPECT_EQ(exitText(*window), QStringLiteral("Exit"));
    EXPECT_TRUE(window->windowTitle().startsWith(u"Ombrel - "));
}

TEST_F(MonitoringWindowTest, StartOnABlankLedOrMissingNameChangesNothing) {
    auto window = makeWindow();
    typeStart(*window, dir_.filePath(QStringLiteral("missing.log")), QStringLiteral("5"),
              QStringLiteral("100"));
    typeStart(*window, QStringLiteral(" ") + writeFile(QStringLiteral("a.log"), "x\n"),
              QStringLiteral("5"), QStringLiteral("100"));
    EXPECT_FALSE(window->monitor().running());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Ombrel 2.0"));
    EXPECT_EQ(exitText(*window), QStringLiteral("Exit"));
    EXPECT_TRUE(window->control(IdPrintButton)->isEnabled()); // Start enables it before checking
    EXPECT_TRUE(window->recentFiles().entries().isEmpty());
}

TEST_F(MonitoringWindowTest, GrowthIsShownAtTheNextCheck) {
    const QString path = writeFile(QStringLiteral("grow.log"), "one\n");
    auto window = makeWindow();
    typeStart(*window, path, QStringLiteral("0"), QStringLiteral("1000"));
    EXPECT_EQ(window->display()->toPlainText(), QStringLiteral("one\n"));
    // Twice within the same second: both writes must show.
    writeFile(QStringLiteral("grow.log"), "two\n", QIODevice::Append);
    QTRY_COMPARE_WITH_TIMEOUT(window->display()->toPlainText(), QStringLiteral("one\ntwo\n"), 5000);
    writeFile(QStringLiteral("grow.log"), "three\n", QIODevice::Append);
    QTRY_COMPARE_WITH_TIMEOUT(window->display()->toPlainText(), QStringLiteral("one\ntwo\nthree\n"),
                              5000);
    // Deleted: nothing changes; re-created: read again.
    QFile::remove(path);
    QTest::qWait(1500);
    EXPECT_EQ(window->display()->toPlainText(), QStringLiteral("one\ntwo\nthree\n"));
    writeFile(QStringLiteral("grow.log"), "new\n");
    QTRY_COMPARE_WITH_TIMEOUT(window->display()->toPlainText(), QStringLiteral("new\n"), 5000);
}

TEST_F(MonitoringWindowTest, EnterInTheCountBoxPressesStart) {
    const QString path = writeFile(QStringLiteral("enter.log"), "hello\n");
    auto window = makeWindow();
    qobject_cast<QComboBox*>(window->control(IdFileNameBox))->setEditText(path);
    auto* count = qobject_cast<QLineEdit*>(window->control(IdCountBox));
    count->setFocus();
    QTest::keyClick(count, Qt::Key_Return);
    EXPECT_TRUE(window->monitor().running());
}

TEST_F(MonitoringWindowTest, ACommandLineFileStartsAtOnceAndIsRemembered) {
    const QString path = writeFile(QStringLiteral("cmd.log"), "from the command line\n");
    StartupOptions startup;
    startup.sourceText = path;
    startup.startRequested = true;
    auto window = makeWindow(startup);
    window->waitForDisplayIdle(5000);
    EXPECT_TRUE(window->monitor().running());
    EXPECT_EQ(window->display()->toPlainText(), QStringLiteral("from the command line\n"));
    window->close();
    EXPECT_EQ(temp_.store().readSetting(QStringLiteral("MRUCnt")), QStringLiteral("1"));
    EXPECT_EQ(temp_.store().readSetting(QStringLiteral("MRU0")), path);

    // The next run offers it in the file-name box.
    auto next = makeWindow();
    auto* box = qobject_cast<QComboBox*>(next->control(IdFileNameBox));
    ASSERT_EQ(box->count(), 1);
    EXPECT_EQ(box->itemText(0), path);
    EXPECT_EQ(box->currentText(), QString());
}

TEST_F(MonitoringWindowTest, AMissingCommandLineFileLeavesAnIdleWindowThatExitCloses) {
    StartupOptions startup;
    startup.sourceText = dir_.filePath(QStringLiteral("nowhere.log"));
    startup.startRequested = true;
    auto window = makeWindow(startup);
    EXPECT_FALSE(window->monitor().running());
    QSignalSpy finished(window.get(), &MainWindow::finished);
    qobject_cast<QPushButton*>(window->control(IdExitPause))->click();
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), 1018);
}

TEST_F(MonitoringWindowTest, KeywordsAreMarkedAndFilterTheLinesButNotTheLineCount) {
    auto& store = temp_.store();
    store.writeSetting(QStringLiteral("Highlight"), QStringLiteral("1"));
    store.writeSetting(QStringLiteral("ShowOnly"), QStringLiteral("1"));
    store.writeSetting(QStringLiteral("Keywords"), QStringLiteral(";;ERROR;;disk"));
    const QString path =
        writeFile(QStringLiteral("keys.log"), "ok\nan error here\nfine\nDisk full\n");
    auto window = makeWindow();
    typeStart(*window, path, QStringLiteral("5"), QStringLiteral("1000"));
    EXPECT_EQ(window->display()->toPlainText(), QStringLiteral("an error here\nDisk full\n"));
    EXPECT_TRUE(window->panes()->paneText(StatusBar::messagePane).endsWith(u"Lines: 5"));

    // "error" is bold with a dotted underline; the text around it is not.
    QTextCursor cursor(window->display()->document());
    cursor.setPosition(4); // inside "error"
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(cursor.charFormat().underlineStyle(), QTextCharFormat::DotLine);
    cursor.setPosition(2); // inside "an"
    EXPECT_NE(cursor.charFormat().fontWeight(), QFont::Bold);
    // The caret ends after the last line.
    EXPECT_EQ(window->display()->textCursor().position(), window->display()->toPlainText().size());
}
