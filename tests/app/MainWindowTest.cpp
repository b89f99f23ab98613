#include "app/MainWindow.h"

#include "app/CommandId.h"
#include "app/StatusBar.h"
#include "display/LogView.h"
#include "options/OptionsSheet.h"
#include "support/GatedFileSystem.h"
#include "support/TempSettings.h"
#include "support/UrlCatcher.h"
#include "tray/TrayState.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <gtest/gtest.h>

using namespace ombrel;

namespace {

class MainWindowTest : public testing::Test {
protected:
    std::unique_ptr<MainWindow> makeWindow(StartupOptions startup = {},
                                           std::shared_ptr<const MonitorFileSystem> files = {}) {
        MainWindowSetup setup{startup, temp_.store(), QString(), {}, std::move(files)};
        // Indented presets: their texts come without the white space around them.
        setup.config.loadText("<Config>\n  <Time>\n    1\n  </Time>\n  <Time>5</Time>\n</Config>");
        auto window = std::make_unique<MainWindow>(std::move(setup));
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }
    QString writeFile(const QString& name, const QByteArray& content,
                      QIODevice::OpenMode mode = QIODevice::WriteOnly) {
        QFile file(dir_.filePath(name));
        EXPECT_TRUE(file.open(mode));
        file.write(content);
        return file.fileName();
    }
    static void typeStart(MainWindow& window, const QString& name,
                          const QString& interval = QStringLiteral("5"),
                          const QString& count = QStringLiteral("1000")) {
        qobject_cast<QComboBox*>(window.control(IdFileNameBox))->setEditText(name);
        qobject_cast<QComboBox*>(window.control(IdIntervalBox))->setEditText(interval);
        qobject_cast<QLineEdit*>(window.control(IdCountBox))->setText(count);
        window.dispatchCommand(IdStart);
        window.waitForDisplayIdle(5000);
    }
    static QPushButton* exitButton(MainWindow& window) {
        return qobject_cast<QPushButton*>(window.control(IdExitPause));
    }

    test::TempSettings temp_;
    QTemporaryDir dir_;
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

    // A missing file named on the command line leaves an idle window that Exit closes.
    StartupOptions missing;
    missing.sourceText = dir_.filePath(QStringLiteral("nowhere.log"));
    missing.startRequested = true;
    auto idle = makeWindow(missing);
    EXPECT_FALSE(idle->monitor().running());
    EXPECT_EQ(exitCodeAfter(*idle, [&] { exitButton(*idle)->click(); }), 1018);

    auto fileExit = makeWindow();
    EXPECT_EQ(exitCodeAfter(*fileExit, [&] { fileExit->action(IdExit)->trigger(); }), 32773);

    auto closeBox = makeWindow();
    EXPECT_EQ(exitCodeAfter(*closeBox, [&] { closeBox->close(); }), 2);
}

TEST_F(MainWindowTest, ShowsItsTemplateWithNamedControlsAtStart) {
    StartupOptions startup;
    startup.byteCount = 250;
    startup.checkInterval = 7;
    auto window = makeWindow(startup);
    auto* presets = qobject_cast<QComboBox*>(window->control(IdIntervalBox));
    EXPECT_EQ(presets->currentText(), QStringLiteral("7"));
    ASSERT_EQ(presets->count(), 2);
    EXPECT_EQ(presets->itemText(0), QStringLiteral("1"));
    EXPECT_EQ(presets->itemText(1), QStringLiteral("5"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(window->control(IdCountBox))->text(), QStringLiteral("250"));
    EXPECT_FALSE(window->control(IdPrintButton)->isEnabled());
    EXPECT_EQ(window->panes()->paneText(StatusBar::messagePane), QStringLiteral("Ready"));
    EXPECT_FALSE(window->panes()->paneIcon(StatusBar::statePane).isNull());
    EXPECT_EQ(window->minimumSize(), QSize(320, 250));

    EXPECT_EQ(window->control(IdCountBox)->accessibleName(), QStringLiteral("Bytes to Display"));
    int named = 0;
    for (const QWidget* child : window->findChildren<QWidget*>()) {
        if ((qobject_cast<const QAbstractButton*>(child) || qobject_cast<const QComboBox*>(child) ||
             qobject_cast<const LogView*>(child)) &&
            child->parentWidget() && child->parentWidget()->objectName() == u"client") {
            EXPECT_FALSE(child->accessibleName().isEmpty()) << child->objectName().toStdString();
            ++named;
        }
    }
    EXPECT_GE(named, 6);
}

TEST_F(MainWindowTest, ResizingStretchesAndMovesOnlyTheListedControls) {
    auto window = makeWindow();
    // How each control's edges move when the window grows by 100 x 50.
    const std::pair<int, QMargins> moves[] = {{IdFileNameBox, {0, 0, 100, 0}},
                                              {IdDataGroup, {0, 0, 100, 0}},
                                              {IdBrowse, {100, 0, 100, 0}},
                                              {IdDisplay, {0, 0, 100, 50}},
                                              {IdStart, {}},
                                              {IdExitPause, {}},
                                              {IdPrintButton, {}},
                                              {IdCountBox, {}},
                                              {IdDisplayGroup, {}},
                                              {IdIntervalBox, {}}};
    std::map<int, QRect> before;
    for (const auto& [id, by] : moves) {
        before[id] = window->control(id)->geometry();
    }
    window->resize(window->size() + QSize(100, 50));
    QTest::qWait(50);
    for (const auto& [id, by] : moves) {
        EXPECT_EQ(window->control(id)->geometry(),
                  before[id].adjusted(by.left(), by.top(), by.right(), by.bottom()))
            << id;
    }
    // The status bar stays docked along the bottom edge.
    EXPECT_EQ(window->panes()->geometry().bottom(), window->rect().bottom());
    EXPECT_EQ(window->panes()->width(), window->width());

    window->resize(100, 100);
    QTest::qWait(50);
    EXPECT_GE(window->width(), 320);
    EXPECT_GE(window->height(), 250);
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

    // Later resizes stretch the display from where each toggle put it.
    const auto resizeBy = [&](QSize by) {
        window->resize(window->size() + by);
        QTest::qWait(20);
        return window->display()->geometry();
    };
    EXPECT_EQ(resizeBy({60, 40}), display.adjusted(0, 0, 60, 40));
    window->dispatchCommand(IdHideControls);
    const QRect hidden = window->display()->geometry();
    EXPECT_EQ(hidden.topLeft(), QPoint(7, 7));
    EXPECT_EQ(resizeBy({30, 20}), hidden.adjusted(0, 0, 30, 20));
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

TEST_F(MainWindowTest, APlacementLargerThanTheScreenOrOffItIsBroughtOntoIt) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QRect& asked : {QRect(0, 0, 99999999, 99999999), QRect(5000, 5000, 400, 300)}) {
        StartupOptions startup;
        startup.placementGiven = true;
        startup.startRect = asked;
        auto window = makeWindow(startup);
        EXPECT_LE(window->width(), area.width());
        EXPECT_LE(window->height(), area.height());
        EXPECT_TRUE(window->geometry().intersects(area)) << asked.x();
    }
}

TEST_F(MainWindowTest, TheProgramsOwnArchiveGivesTheIntervalPresets) {
    MainWindowSetup setup{{}, temp_.store(), QString(), {}, {}};
    setup.config.load(QStringLiteral(OMBREL_ARCHIVE));
    MainWindow window(std::move(setup));
    auto* presets = qobject_cast<QComboBox*>(window.control(IdIntervalBox));
    QStringList items;
    for (int i = 0; i < presets->count(); ++i) {
        items << presets->itemText(i);
    }
    EXPECT_EQ(items.join(u' '), QStringLiteral("1 2 5 10 30 60"));
    EXPECT_EQ(presets->currentText(), QStringLiteral("5"));
}

TEST_F(MainWindowTest, StartShowsTheTailAndItsStatusAndExitPauses) {
    const QString path = writeFile(QStringLiteral("app.log"), "first\nsecond\nthird\n");
    auto window = makeWindow();
    typeStart(*window, path, QStringLiteral("5"), QStringLiteral("13"));
    EXPECT_TRUE(window->monitor().running());
    EXPECT_TRUE(window->windowTitle().startsWith(u"Ombrel - "));
    EXPECT_EQ(exitButton(*window)->text(), QStringLiteral("Pause"));
    EXPECT_EQ(window->display()->text(), QStringLiteral("second\nthird\n"));
    const QString status = window->panes()->paneText(StatusBar::messagePane);
    EXPECT_TRUE(status.startsWith(u"Update: ")) << status.toStdString();
    EXPECT_TRUE(status.endsWith(u"\n   Filesize: 19   Lines: 3")) << status.toStdString();
    // The pane shows the two-line status on one line.
    const auto* label = window->panes()->findChild<QLabel*>(QStringLiteral("messagePane"));
    EXPECT_FALSE(label->text().contains(u'\n'));
    // The caret rests after the last line.
    EXPECT_EQ(window->display()->selection().caret, window->display()->text().size());

    window->dispatchCommand(IdExitPause);
    EXPECT_FALSE(window->monitor().running());
    EXPECT_EQ(exitButton(*window)->text(), QStringLiteral("Exit"));
}

TEST_F(MainWindowTest, StartOnABlankLedOrMissingNameChangesNothing) {
    auto window = makeWindow();
    typeStart(*window, dir_.filePath(QStringLiteral("missing.log")));
    typeStart(*window, QStringLiteral(" ") + writeFile(QStringLiteral("a.log"), "x\n"));
    EXPECT_FALSE(window->monitor().running());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Ombrel 2.0"));
    EXPECT_EQ(exitButton(*window)->text(), QStringLiteral("Exit"));
    EXPECT_TRUE(window->control(IdPrintButton)->isEnabled()); // Start enables it before checking
    EXPECT_TRUE(window->recentFiles().entries().isEmpty());
}

TEST_F(MainWindowTest, EnterInTheNameBoxAddsNothingAndInTheCountBoxPressesStart) {
    const QString path = writeFile(QStringLiteral("enter.log"), "hello\n");
    auto window = makeWindow();
    auto* box = qobject_cast<QComboBox*>(window->control(IdFileNameBox));
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("/no/such/file.log"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->count(), 0);
    EXPECT_TRUE(window->isVisible());

    box->setEditText(path);
    auto* count = qobject_cast<QLineEdit*>(window->control(IdCountBox));
    count->setFocus();
    QTest::keyClick(count, Qt::Key_Return);
    EXPECT_TRUE(window->monitor().running());
}

TEST_F(MainWindowTest, AppendedLinesAppearAtTheNextChecks) {
    const QString path = writeFile(QStringLiteral("grow.log"), "one\n");
    auto window = makeWindow();
    typeStart(*window, path, QStringLiteral("0"));
    EXPECT_EQ(window->display()->text(), QStringLiteral("one\n"));
    // QTRY_* cannot fail a GoogleTest test, so wait first and check afterwards.
    const auto shows = [&window](const QString& text) {
        return QTest::qWaitFor([&] { return window->display()->text() == text; }, 5000);
    };
    writeFile(QStringLiteral("grow.log"), "two\n", QIODevice::Append);
    EXPECT_TRUE(shows(QStringLiteral("one\ntwo\n"))) << window->display()->text().toStdString();
    writeFile(QStringLiteral("grow.log"), "three\n", QIODevice::Append);
    EXPECT_TRUE(shows(QStringLiteral("one\ntwo\nthree\n")))
        << window->display()->text().toStdString();
}

TEST_F(MainWindowTest, ACommandLineFileStartsAtOnceAndIsRemembered) {
    const QString path = writeFile(QStringLiteral("cmd.log"), "from the command line\n");
    StartupOptions startup;
    startup.sourceText = path;
    startup.startRequested = true;
    auto window = makeWindow(startup);
    window->waitForDisplayIdle(5000);
    EXPECT_TRUE(window->monitor().running());
    EXPECT_EQ(window->display()->text(), QStringLiteral("from the command line\n"));
    window->close();
    EXPECT_EQ(temp_.store().readSetting(QStringLiteral("MRUCnt")), QStringLiteral("1"));

    // The next run offers it in the file-name box.
    auto next = makeWindow();
    auto* box = qobject_cast<QComboBox*>(next->control(IdFileNameBox));
    ASSERT_EQ(box->count(), 1);
    EXPECT_EQ(box->itemText(0), path);
    EXPECT_EQ(box->currentText(), QString());
}

TEST_F(MainWindowTest, KeywordsAreMarkedAndFilterTheLinesButNotTheLineCount) {
    auto& store = temp_.store();
    store.writeSetting(QStringLiteral("Highlight"), QStringLiteral("1"));
    store.writeSetting(QStringLiteral("ShowOnly"), QStringLiteral("1"));
    store.writeSetting(QStringLiteral("Keywords"), QStringLiteral(";;ERROR;;disk"));
    const QString path =
        writeFile(QStringLiteral("keys.log"), "ok\nan error here\nfine\nDisk full\n");
    auto window = makeWindow();
    typeStart(*window, path);
    EXPECT_EQ(window->display()->text(), QStringLiteral("an error here\nDisk full\n"));
    EXPECT_TRUE(window->panes()->paneText(StatusBar::messagePane).endsWith(u"Lines: 5"));

    // "error" and "Disk" are marked; the text around them is not.
    const MarkRuns expected{{3, 5, 1}, {14, 4, 1}};
    EXPECT_EQ(window->display()->model()->marks(), expected);

    // For a look at the window: OMBREL_SCREENSHOT_DIR=/some/dir main_window_tests
    const QString folder = qEnvironmentVariable("OMBREL_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(window->grab().save(folder + QStringLiteral("/main-window.png")));
    }
}

TEST_F(MainWindowTest, AStartThatFailsKeepsTheChangeBeingRead) {
    auto files = std::make_shared<test::GatedFileSystem>();
    const QString path = writeFile(QStringLiteral("crash.log"), "one\n");
    auto window = makeWindow({}, files);
    typeStart(*window, path, QStringLiteral("0"));
    ASSERT_EQ(window->display()->text(), QStringLiteral("one\n"));

    files->close();
    writeFile(QStringLiteral("crash.log"), "last words\n", QIODevice::Append);
    ASSERT_TRUE(QTest::qWaitFor([&] { return files->reads() == 2; }, 5000));
    // A Start on a blank name while the change is read: still watching, so it must show.
    qobject_cast<QComboBox*>(window->control(IdFileNameBox))->setEditText(QStringLiteral(" "));
    window->dispatchCommand(IdStart);
    files->open();
    ASSERT_TRUE(window->waitForDisplayIdle(5000));
    EXPECT_EQ(window->display()->text(), QStringLiteral("one\nlast words\n"));
}

TEST_F(MainWindowTest, FailedReadsShowNothingAndAreRetriedUntilTheFileCanBeRead) {
    auto files = std::make_shared<test::GatedFileSystem>();
    const QString path = writeFile(QStringLiteral("locked.log"), "secret\n");
    auto window = makeWindow({}, files);
    const auto status = [&] { return window->panes()->paneText(StatusBar::messagePane); };

    files->unreadable = true;
    typeStart(*window, path, QStringLiteral("0"));
    EXPECT_EQ(window->display()->text(), QString());
    EXPECT_TRUE(status().startsWith(u"Update: ")) << status().toStdString();
    // Made readable (chmod), not written: shown at the next check all the same.
    files->unreadable = false;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return window->display()->text() == QStringLiteral("secret\n"); }, 5000));

    // A tail too large to hold fails the same way, without taking the program down.
    files->outOfMemory = true;
    writeFile(QStringLiteral("locked.log"), "more\n", QIODevice::Append);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->display()->text().isEmpty(); }, 5000));
    EXPECT_TRUE(status().endsWith(u"Lines: 1")) << status().toStdString();
}

namespace {
// Runs inDialog on the modal dialog that the command opens, once it is open.
template <typename Dialog>
void whileOpen(MainWindow& window, int command, std::function<void(Dialog&)> inDialog) {
    bool ran = false;
    QTimer::singleShot(0, &window, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ran = true;
        inDialog(*dialog);
    });
    window.dispatchCommand(command);
    EXPECT_TRUE(ran);
}
} // namespace

TEST_F(MainWindowTest, OptionsTakeEffectAtOnceAndACloseWaitsForTheDialog) {
    temp_.store().writeSetting(QStringLiteral("Highlight"), QStringLiteral("1"));
    const QString path = writeFile(QStringLiteral("opts.log"), "ok\nan error\n");
    auto window = makeWindow();
    typeStart(*window, path);
    whileOpen<OptionsSheet>(*window, IdOptions, [&](OptionsSheet& sheet) {
        QWidget* keywords = sheet.page(1);
        keywords->findChild<QCheckBox*>(QStringLiteral("control1023"))->setChecked(true);
        keywords->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("ERROR"));
        sheet.accept();
    });
    ASSERT_TRUE(window->waitForDisplayIdle(5000));
    EXPECT_EQ(window->display()->text(), QStringLiteral("an error\n"));
    EXPECT_EQ(temp_.store().readSetting(QStringLiteral("Keywords")), QStringLiteral(";;ERROR"));

    // A second dialog never stacks on the first; a close request ends both, in order.
    QSignalSpy finished(window.get(), &MainWindow::finished);
    whileOpen<OptionsSheet>(*window, IdOptions, [&](OptionsSheet&) {
        window->dispatchCommand(IdWindowFont);
        EXPECT_TRUE(qobject_cast<OptionsSheet*>(QApplication::activeModalWidget()));
        window->dispatchCommand(IdCancel);
    });
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(window->exitCode(), 2);
}

TEST_F(MainWindowTest, TheCommandLineFaceAppliesAtEachStartUntilAFontIsChosen) {
    const QString path = writeFile(QStringLiteral("font.log"), "text\n");
    StartupOptions startup;
    startup.faceName = QStringLiteral("DejaVu Serif");
    auto window = makeWindow(startup);
    typeStart(*window, path);
    EXPECT_EQ(window->display()->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(window->display()->font().pointSizeF(), window->font().pointSizeF());

    QFont chosen(QStringLiteral("DejaVu Sans Mono"), 15);
    whileOpen<QFontDialog>(*window, IdWindowFont, [&](QFontDialog& dialog) {
        EXPECT_EQ(dialog.currentFont().family(), QFont().family());
        dialog.setCurrentFont(chosen);
        dialog.accept();
    });
    typeStart(*window, path);
    EXPECT_EQ(window->display()->font().family(), chosen.family());
    EXPECT_EQ(window->display()->font().pointSize(), 15);
}

TEST_F(MainWindowTest, TheTrayFollowsTheWatchAndAMissingTrayLeavesTheWindowReachable) {
    temp_.store().writeSetting(QStringLiteral("SysTray"), QStringLiteral("1"));
    temp_.store().writeSetting(QStringLiteral("MinTray"), QStringLiteral("1"));
    const QString path = writeFile(QStringLiteral("tray.log"), "x\n");
    auto window = makeWindow();
    const TrayState& tray = window->tray().state();
    EXPECT_EQ(tray.tip(), QStringLiteral("Ombrel"));
    typeStart(*window, path);
    EXPECT_EQ(tray.tip(), QStringLiteral("Ombrel\n") + path);
    EXPECT_EQ(tray.image(), TrayImage{TrayImage::Running});
    window->dispatchCommand(IdExitPause);
    EXPECT_EQ(tray.tip(), QStringLiteral("Ombrel - Paused\n") + path);
    EXPECT_EQ(tray.image(), TrayImage{TrayImage::Paused});

    // No tray here: "Minimize" and the minimise box go to the taskbar, never out of reach.
    ASSERT_FALSE(window->tray().isShown());
    window->dispatchCommand(IdMinimize);
    QTest::qWait(20);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(tray.windowInTray());
    window->dispatchCommand(IdRestore);
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(MainWindowTest, ADroppedFileIsWatchedAtOnceAndBrowseOnlyNamesOne) {
    const QString first = writeFile(QStringLiteral("first.log"), "dropped\n");
    auto window = makeWindow();
    qobject_cast<QCheckBox*>(window->control(IdSystemLog))->setChecked(true);
    QMimeData files;
    files.setUrls(
        {QUrl::fromLocalFile(first), QUrl::fromLocalFile(dir_.filePath(QStringLiteral("b")))});
    files.setText(first); // as file managers add
    // Over the file box, which must not take the drop as text.
    const QPoint at = window->control(IdFileNameBox)->mapTo(window.get(), QPoint(5, 5));
    QDragEnterEvent enter(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &drop);
    ASSERT_TRUE(window->waitForDisplayIdle(5000));
    EXPECT_TRUE(window->monitor().running());
    EXPECT_EQ(window->display()->text(), QStringLiteral("dropped\n"));
    EXPECT_FALSE(qobject_cast<QCheckBox*>(window->control(IdSystemLog))->isChecked());
    EXPECT_EQ(window->tray().state().tip(), QStringLiteral("Ombrel\n") + first);
    EXPECT_TRUE(window->recentFiles().entries().isEmpty());

    const QString picked = writeFile(QStringLiteral("picked.log"), "p\n");
    whileOpen<QFileDialog>(*window, IdBrowse, [&](QFileDialog& dialog) {
        dialog.selectFile(picked);
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    EXPECT_EQ(qobject_cast<QComboBox*>(window->control(IdFileNameBox))->currentText(), picked);
    EXPECT_EQ(window->monitor().sourceText(), picked);
    EXPECT_EQ(window->monitor().filePath(), first); // still watching the dropped file
}

TEST_F(MainWindowTest, AClickOnAWebAddressOpensItAndNothingElseOpens) {
    test::UrlCatcher catcher;
    const char* schemes[] = {"http", "https", "file", "javascript"};
    for (const char* scheme : schemes) {
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");
    }
    const QString path = writeFile(QStringLiteral("links.log"),
                                   "see www.example.org now\nfile:///etc/passwd plain\n");
    auto window = makeWindow();
    typeStart(*window, path);
    LogView* view = window->display();
    const auto clickAt = [&](const QString& inside) {
        view->scrollToEnd();
        const QPoint at = view->characterRect(view->text().indexOf(inside)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    };
    clickAt(QStringLiteral("example"));
    clickAt(QStringLiteral("etc"));
    clickAt(QStringLiteral("plain"));
    for (const char* scheme : schemes) {
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls.first(), QUrl(QStringLiteral("http://www.example.org")));
}
