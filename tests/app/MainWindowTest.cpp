#include "app/MainWindow.h"

#include "app/CommandId.h"
#include "app/CompactPath.h"
#include "app/StatusBar.h"
#include "display/LineLayouts.h"
#include "display/LogView.h"
#include "find/FindBar.h"
#include "find/FindController.h"
#include "options/OptionsSheet.h"
#include "support/GatedFileSystem.h"
#include "support/TempFiles.h"
#include "support/TempSettings.h"
#include "support/WindowTesting.h"
#include "tray/TrayState.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace ombrel;
using test::whileOpen;

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
    template <typename T> static T* control(MainWindow& window, int id) {
        return qobject_cast<T*>(window.control(id));
    }
    static void typeStart(MainWindow& window, const QString& name,
                          const QString& interval = QStringLiteral("5"),
                          const QString& count = QStringLiteral("1000")) {
        control<QComboBox>(window, IdFileNameBox)->setEditText(name);
        control<QComboBox>(window, IdIntervalBox)->setEditText(interval);
        control<QLineEdit>(window, IdCountBox)->setText(count);
        window.dispatchCommand(IdStart);
        window.waitForDisplayIdle(5000);
    }
    static QString status(MainWindow& window) {
        return window.panes()->paneText(StatusBar::messagePane);
    }
    // QTRY_* cannot fail a GoogleTest test, so wait first and check afterwards.
    static bool shows(MainWindow& window, const QString& text) {
        return QTest::qWaitFor([&] { return window.display()->text() == text; }, 5000);
    }

    test::TempSettings temp_;
    test::TempFiles files_;
};

} // namespace

TEST_F(MainWindowTest, ClosesWithTheIdentifierOfWhatClosedIt) {
    // A missing file named on the command line leaves an idle window, whose button is Exit.
    StartupOptions missing;
    missing.sourceText = files_.path(u"nowhere.log"_qs);
    missing.startRequested = true;
    const std::pair<std::function<void(MainWindow&)>, int> cases[] = {
        {[](MainWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }, 2},
        {[](MainWindow& w) { control<QPushButton>(w, IdExitPause)->click(); }, 1018},
        {[](MainWindow& w) { w.action(IdExit)->trigger(); }, 32773},
        {[](MainWindow& w) { w.close(); }, 2}};
    for (const auto& [action, code] : cases) {
        auto window = makeWindow(missing);
        QSignalSpy finished(window.get(), &MainWindow::finished);
        action(*window);
        EXPECT_FALSE(window->isVisible());
        ASSERT_EQ(finished.count(), 1);
        EXPECT_EQ(finished.at(0).at(0).toInt(), code);
    }
}

TEST_F(MainWindowTest, ShowsItsTemplateWithNamedControlsAtStart) {
    StartupOptions startup;
    startup.byteCount = 250;
    startup.checkInterval = 7;
    auto window = makeWindow(startup);
    auto* presets = control<QComboBox>(*window, IdIntervalBox);
    EXPECT_EQ(presets->currentText(), QStringLiteral("7"));
    // Numbers out of range, from the settings or the command line, are bounded.
    StartupOptions negative;
    negative.byteCount = -5;
    negative.checkInterval = -7;
    const auto bounded = makeWindow(negative);
    EXPECT_EQ(control<QLineEdit>(*bounded, IdCountBox)->text(), QStringLiteral("0"));
    EXPECT_EQ(control<QComboBox>(*bounded, IdIntervalBox)->currentText(), QStringLiteral("1"));
    EXPECT_EQ(presets->itemText(0) + u' ' + presets->itemText(1), QStringLiteral("1 5"));
    EXPECT_EQ(control<QLineEdit>(*window, IdCountBox)->text(), QStringLiteral("250"));
    EXPECT_FALSE(window->control(IdPrintButton)->isEnabled());
    EXPECT_EQ(status(*window), QStringLiteral("Ready"));

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
    const QSize original = window->size();
    // How each control's edges move when the window grows by 100 x 50.
    const std::pair<int, QMargins> moves[] = {{IdFileNameBox, {0, 0, 100, 0}},
                                              {IdBrowse, {100, 0, 100, 0}},
                                              {IdDisplay, {0, 0, 100, 50}},
                                              {IdStart, {}}};
    std::map<int, QRect> before;
    for (const auto& [id, by] : moves) {
        before[id] = window->control(id)->geometry();
    }
    window->resize(original + QSize(100, 50));
    QTest::qWait(50);
    for (const auto& [id, by] : moves) {
        EXPECT_EQ(window->control(id)->geometry(),
                  before[id].adjusted(by.left(), by.top(), by.right(), by.bottom()))
            << id;
    }
    // Always laid out from the first rectangles, so going back restores them exactly.
    window->resize(original);
    QTest::qWait(50);
    EXPECT_EQ(window->control(IdBrowse)->geometry(), before[IdBrowse]);

    window->resize(100, 100);
    QTest::qWait(50);
    EXPECT_GE(window->width(), 320);
    EXPECT_GE(window->height(), 250);
}

TEST_F(MainWindowTest, HidingTheControlsLeavesTheDisplayAndPutsItBack) {
    // Either way the display keeps the gap to the status bar of a window never toggled.
    const auto gapBelow = [](MainWindow& w) {
        return w.centralWidget()->height() - w.display()->geometry().bottom() - 1;
    };
    const int laidOut = gapBelow(*makeWindow());
    StartupOptions startup;
    startup.hideControls = true;
    auto window = makeWindow(startup);
    EXPECT_FALSE(window->control(IdStart)->isVisible());
    EXPECT_FALSE(window->control(IdFileNameBox)->isVisible());
    EXPECT_TRUE(window->display()->isVisible());
    EXPECT_EQ(window->display()->geometry().topLeft(), QPoint(7, 7));
    EXPECT_EQ(gapBelow(*window), laidOut);
    EXPECT_EQ(window->action(IdHideControls)->text(), QStringLiteral("S&how Controls"));

    window->dispatchCommand(IdHideControls);
    EXPECT_TRUE(window->control(IdStart)->isVisible());
    EXPECT_EQ(window->action(IdHideControls)->text(), QStringLiteral("&Hide Controls"));
    const QRect display = window->display()->geometry();
    const QSize client = window->centralWidget()->size();
    EXPECT_GT(display.top(), window->control(IdStart)->geometry().bottom());
    EXPECT_EQ(display.right() + 1, client.width() - 14);
    EXPECT_EQ(gapBelow(*window), laidOut);

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
    window->close();
    EXPECT_EQ(temp_.store().readSetting(QStringLiteral("StoreLeft")), std::nullopt);

    temp_.set({{"StoreLast", "1"}});
    auto keeping = makeWindow();
    keeping->setGeometry(40, 60, 500, 400);
    QTest::qWait(20);
    const QRect kept = keeping->normalGeometry();
    keeping->close();
    const auto edge = [&](const char* name) {
        return temp_.store().readNumber(QString::fromLatin1(name)).value_or(-1);
    };
    EXPECT_EQ(QRect(QPoint(edge("StoreLeft"), edge("StoreTop")),
                    QPoint(edge("StoreRight") - 1, edge("StoreBottom") - 1)),
              kept);
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

TEST_F(MainWindowTest, StartShowsTheTailAndItsStatusFollowsGrowthAndExitPauses) {
    const QString path = files_.write(u"app.log"_qs, "first\nsecond\nthird\n");
    auto window = makeWindow();
    // A missing file is not remembered; Enter presses Start, never Exit, and adds no name.
    typeStart(*window, files_.path(u"missing.log"_qs), QStringLiteral("0"), QStringLiteral("13"));
    EXPECT_TRUE(window->recentFiles().entries().isEmpty());
    auto* box = control<QComboBox>(*window, IdFileNameBox);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->count(), 0);
    EXPECT_TRUE(window->isVisible());
    box->setEditText(path);
    auto* count = control<QLineEdit>(*window, IdCountBox);
    count->setFocus();
    QTest::keyClick(count, Qt::Key_Return);
    ASSERT_TRUE(window->waitForDisplayIdle(5000));
    EXPECT_EQ(control<QPushButton>(*window, IdExitPause)->text(), QStringLiteral("Pause"));
    EXPECT_EQ(window->display()->text(), QStringLiteral("second\nthird\n"));
    EXPECT_TRUE(status(*window).endsWith(u"\n   Filesize: 19   Lines: 3"));

    files_.append(u"app.log"_qs, "fourth\n");
    EXPECT_TRUE(shows(*window, QStringLiteral("third\nfourth\n")))
        << window->display()->text().toStdString();

    window->dispatchCommand(IdExitPause);
    EXPECT_EQ(control<QPushButton>(*window, IdExitPause)->text(), QStringLiteral("Exit"));
}

TEST_F(MainWindowTest, ACommandLineFileAndFaceApplyAtOnceAndTheFileIsRemembered) {
    const QString path = files_.write(u"cmd.log"_qs, "from the command line\n");
    StartupOptions startup;
    startup.sourceText = path;
    startup.startRequested = true;
    startup.faceName = QStringLiteral("DejaVu Serif");
    auto window = makeWindow(startup);
    window->waitForDisplayIdle(5000);
    EXPECT_EQ(window->display()->text(), QStringLiteral("from the command line\n"));
    EXPECT_EQ(window->display()->font().family(), QStringLiteral("DejaVu Serif"));
    // The face applies at each Start until a font is chosen.
    const QFont chosen(QStringLiteral("DejaVu Sans Mono"), 15);
    whileOpen<QFontDialog>([&] { window->dispatchCommand(IdWindowFont); },
                           [&](QFontDialog& dialog) {
                               dialog.setCurrentFont(chosen);
                               dialog.accept();
                           });
    typeStart(*window, path);
    EXPECT_EQ(window->display()->font().family(), chosen.family());
    EXPECT_EQ(window->display()->font().pointSize(), 15);
    // The dialog starts from the display's font; a face picked in its list comes back upright.
    whileOpen<QFontDialog>([&] { window->dispatchCommand(IdWindowFont); },
                           [&](QFontDialog& dialog) {
                               EXPECT_EQ(dialog.currentFont().family(), chosen.family());
                               EXPECT_EQ(dialog.currentFont().pointSize(), 15);
                               auto* faces = dialog.findChild<QListView*>();
                               const QModelIndexList serif = faces->model()->match(
                                   faces->model()->index(0, 0), Qt::DisplayRole, u"DejaVu Serif"_qs,
                                   1, Qt::MatchExactly);
                               ASSERT_EQ(serif.size(), 1);
                               faces->setCurrentIndex(serif.first());
                               dialog.accept();
                           });
    EXPECT_EQ(window->display()->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(window->display()->font().style(), QFont::StyleNormal);
    window->close();

    // The next run offers the file in the file-name box.
    auto next = makeWindow();
    auto* box = control<QComboBox>(*next, IdFileNameBox);
    ASSERT_EQ(box->count(), 1);
    EXPECT_EQ(box->itemText(0), path);
    EXPECT_EQ(box->currentText(), QString());
}

TEST_F(MainWindowTest, KeywordsFilterTheLinesButNotTheCountAndOptionsTakeEffectAtOnce) {
    temp_.set({{"Highlight", "1"}, {"ShowOnly", "1"}, {"Keywords", ";;ERROR;;disk"}});
    const QString path = files_.write(u"keys.log"_qs, "ok\nan error here\nfine\nDisk full\n");
    auto window = makeWindow();
    typeStart(*window, path);
    EXPECT_EQ(window->display()->text(), QStringLiteral("an error here\nDisk full\n"));
    EXPECT_TRUE(status(*window).endsWith(u"Lines: 5"));
    EXPECT_EQ(window->display()->model()->marks().size(), 2u);
    test::saveScreenshot(*window, "main-window");
    whileOpen<OptionsSheet>([&] { window->dispatchCommand(IdOptions); },
                            [&](OptionsSheet& sheet) {
                                sheet.page(1)->findChild<QPlainTextEdit*>()->setPlainText(
                                    u"fine"_qs);
                                sheet.accept();
                            });
    ASSERT_TRUE(window->waitForDisplayIdle(5000));
    EXPECT_EQ(window->display()->text(), QStringLiteral("fine\n"));

    // A second dialog never stacks on the first; a close request ends both, in order.
    QSignalSpy finished(window.get(), &MainWindow::finished);
    whileOpen<OptionsSheet>([&] { window->dispatchCommand(IdOptions); },
                            [&](OptionsSheet&) {
                                window->dispatchCommand(IdWindowFont);
                                EXPECT_TRUE(
                                    qobject_cast<OptionsSheet*>(QApplication::activeModalWidget()));
                                window->dispatchCommand(IdCancel);
                            });
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(window->exitCode(), 2);
}

TEST_F(MainWindowTest, OptionsThatCannotBeSavedApplyAllTheSameAndAreTold) {
    // A file where the settings folder should be: nothing can be written below it.
    const QString blocked = files_.write(u"Dravik"_qs, "a file\n") + u"/Ombrel.conf"_qs;
    MainWindow window({{}, SettingsStore::atFile(blocked), QString(), {}, {}});
    window.show();
    typeStart(window, files_.write(u"keys.log"_qs, "ok\nan error here\n"));
    test::withModals({[](QWidget* modal) {
                          auto* sheet = qobject_cast<OptionsSheet*>(modal);
                          ASSERT_NE(sheet, nullptr);
                          sheet->page(1)->findChild<QCheckBox*>(u"control1021"_qs)->click();
                          sheet->page(1)->findChild<QPlainTextEdit*>()->setPlainText(u"error"_qs);
                          sheet->accept();
                      },
                      [&](QWidget* modal) {
                          auto* box = qobject_cast<QMessageBox*>(modal);
                          ASSERT_NE(box, nullptr);
                          EXPECT_TRUE(box->text().contains(blocked)) << box->text().toStdString();
                          EXPECT_TRUE(box->text().contains(u"Not a directory"_qs));
                          box->accept();
                      }},
                     [&] {
                         window.dispatchCommand(IdOptions);
                         QTest::qWait(200); // the box opens without a loop of its own
                     });
    // The keywords typed apply to the running window.
    ASSERT_TRUE(window.waitForDisplayIdle(5000));
    ASSERT_EQ(window.display()->model()->marks().size(), 1u);
}

TEST_F(MainWindowTest, AStartThatFailsKeepsTheChangeBeingRead) {
    auto files = std::make_shared<test::GatedFileSystem>();
    const QString path = files_.write(u"crash.log"_qs, "one\n");
    auto window = makeWindow({}, files);
    typeStart(*window, path, QStringLiteral("0"));
    ASSERT_EQ(window->display()->text(), QStringLiteral("one\n"));

    files->close();
    files_.append(u"crash.log"_qs, "last words\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return files->reads() == 2; }, 5000));
    // A Start on a blank name while the change is read: still watching, so it must show.
    control<QComboBox>(*window, IdFileNameBox)->setEditText(QStringLiteral(" "));
    window->dispatchCommand(IdStart);
    files->open();
    ASSERT_TRUE(window->waitForDisplayIdle(5000));
    EXPECT_EQ(window->display()->text(), QStringLiteral("one\nlast words\n"));
}

TEST_F(MainWindowTest, FailedReadsAreToldKeepTheTextAndAreRetriedUntilTheFileCanBeRead) {
    auto files = std::make_shared<test::GatedFileSystem>();
    const QString path = files_.write(u"locked.log"_qs, "secret\n");
    auto window = makeWindow({}, files);
    files->unreadable = true;
    typeStart(*window, path, QStringLiteral("1"));
    const QString denied =
        u"Cannot read "_qs + QDir::toNativeSeparators(path) + u": Permission denied"_qs;
    EXPECT_EQ(window->display()->text(), QString());
    EXPECT_EQ(status(*window), denied);
    // Made readable (chmod), not written: shown at the next check all the same.
    files->unreadable = false;
    EXPECT_TRUE(shows(*window, QStringLiteral("secret\n")));
    // Unreadable again when it changes: the last text stays, and the reason is told.
    files->unreadable = true;
    files_.append(u"locked.log"_qs, "hidden\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return status(*window) == denied; }, 5000));
    EXPECT_EQ(window->display()->text(), QStringLiteral("secret\n"));
    files->unreadable = false;
    EXPECT_TRUE(shows(*window, QStringLiteral("secret\nhidden\n")));
    EXPECT_TRUE(status(*window).startsWith(u"Update: ")) << status(*window).toStdString();
    // A tail too large to hold fails the same way, without taking the program down.
    files->outOfMemory = true;
    files_.append(u"locked.log"_qs, "more\n");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return status(*window).endsWith(u"Not enough memory"_qs); }, 5000))
        << status(*window).toStdString();
    EXPECT_EQ(window->display()->text(), QStringLiteral("secret\nhidden\n"));
    files->outOfMemory = false;

    // A folder is watched as a file that cannot be read, and is no recent file.
    typeStart(*window, files_.path(u"."_qs));
    EXPECT_TRUE(window->monitor().running());
    EXPECT_EQ(window->display()->text(), QString());
    EXPECT_TRUE(status(*window).endsWith(u": Is a directory"_qs)) << status(*window).toStdString();
    EXPECT_EQ(window->recentFiles().entries(), QStringList{path});
}

TEST_F(MainWindowTest, TheTrayFollowsTheWatchAndAMissingTrayLeavesTheWindowReachable) {
    temp_.set({{"SysTray", "1"}, {"MinTray", "1"}});
    const QString path = files_.write(u"tray.log"_qs, "x\n");
    auto window = makeWindow();
    const TrayState& tray = window->tray().state();
    typeStart(*window, path);
    // Shortened when the temporary folder's path is long (as on Windows).
    const auto tip = [&](const QString& head) {
        return compactPath(head + path, TrayState::tooltipLimit);
    };
    EXPECT_EQ(tray.tip(), tip(QStringLiteral("Ombrel\n")));
    EXPECT_EQ(tray.image(), TrayImage{TrayImage::Running});
    window->dispatchCommand(IdExitPause);
    EXPECT_EQ(tray.tip(), tip(QStringLiteral("Ombrel - Paused\n")));
    EXPECT_EQ(tray.image(), TrayImage{TrayImage::Paused});

    // No tray here: "Minimize" and the minimise box go to the taskbar, never out of reach.
    ASSERT_FALSE(window->tray().isShown());
    window->dispatchCommand(IdMinimize);
    QTest::qWait(20);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(tray.windowInTray());
}

TEST_F(MainWindowTest, ADroppedFileIsWatchedAtOnceAndBrowseOnlyNamesOne) {
    const QString first = files_.write(u"first.log"_qs, "dropped\n");
    auto window = makeWindow();
    control<QCheckBox>(*window, IdSystemLog)->setChecked(true);
    // Two files, with their text as file managers add, over the box that must not take it.
    test::dropFiles(*window, window->control(IdFileNameBox), {first, files_.path(u"b"_qs)}, first);
    ASSERT_TRUE(window->waitForDisplayIdle(5000));
    EXPECT_TRUE(window->monitor().running());
    EXPECT_EQ(window->display()->text(), QStringLiteral("dropped\n"));
    EXPECT_FALSE(control<QCheckBox>(*window, IdSystemLog)->isChecked());
    EXPECT_TRUE(window->recentFiles().entries().isEmpty());

    const QString picked = files_.write(u"picked.log"_qs, "p\n");
    whileOpen<QFileDialog>(
        [&] { window->dispatchCommand(IdBrowse); },
        [&](QFileDialog& dialog) {
            // Typed, as selectFile() leaves a focused name box alone.
            dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(picked);
            QMetaObject::invokeMethod(&dialog, "accept");
        });
    EXPECT_EQ(control<QComboBox>(*window, IdFileNameBox)->currentText(), picked);
    EXPECT_EQ(window->monitor().filePath(), first); // still watching the dropped file
}

TEST_F(MainWindowTest, AClickOnAWebAddressOpensItAndNothingElseOpens) {
    test::SchemeCatcher catcher({"http", "https", "file", "javascript"});
    const QString path =
        files_.write(u"links.log"_qs, "see www.example.org now\nfile:///etc/passwd plain\n");
    auto window = makeWindow();
    typeStart(*window, path);
    LogView* view = window->display();
    for (const char* inside : {"example", "etc", "plain"}) {
        view->scrollToEnd();
        const QPoint at = view->characterRect(view->text().indexOf(QLatin1String(inside))).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls.first(), QUrl(QStringLiteral("http://www.example.org")));
}

TEST_F(MainWindowTest, FindWalksThroughMatchesAndMarksAndKeepsItsQueryAcrossUpdates) {
    temp_.set({{"Highlight", "1"}, {"Keywords", ";;disk"}});
    const QString path =
        files_.write(u"find.log"_qs, "disk ok\nError one\nerror two disk\nan ERROR\n");
    auto window = makeWindow();
    typeStart(*window, path);
    LogView& view = *window->display();
    FindBar& bar = *window->findBar();
    const auto selected = [&] { return view.selectedText(); };
    const auto settle = [&] { return window->finder().worker().waitForIdle(5000); };

    // Ctrl+F opens the bar below the display; typing searches from the caret, at the end.
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.geometry().top(), view.geometry().bottom() + 1);
    QLineEdit* box = bar.findChild<QLineEdit*>(u"findBox"_qs);
    EXPECT_TRUE(box->hasFocus());
    QTest::keyClicks(box, u"error"_qs);
    ASSERT_TRUE(settle());
    EXPECT_EQ(view.selection(), (TextSelection{8, 13}));
    EXPECT_EQ(bar.countText(), u"Wrapped to the top: 1 of 3"_qs);
    EXPECT_EQ(bar.findChild<QWidget*>(u"findCount"_qs)->accessibleName(), bar.countText());
    // Enter, F3 and Shift+Enter, Shift+F3: next and previous, wrapping with a note.
    QTest::keyClick(box, Qt::Key_Return);
    settle();
    EXPECT_EQ(view.selection(), (TextSelection{18, 23}));
    QTest::keyClick(window.get(), Qt::Key_F3);
    settle();
    EXPECT_EQ(view.selection(), (TextSelection{36, 41}));
    QTest::keyClick(window.get(), Qt::Key_F3);
    settle();
    EXPECT_EQ(bar.countText(), u"Wrapped to the top: 1 of 3"_qs);
    QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
    settle();
    EXPECT_EQ(view.selection(), (TextSelection{36, 41}));
    EXPECT_EQ(bar.countText(), u"Wrapped to the bottom: 3 of 3"_qs);
    bar.findChild<QCheckBox*>(u"findMatchCase"_qs)->click();
    settle();
    EXPECT_EQ(selected(), u"error"_qs);
    EXPECT_EQ(bar.countText(), u"Wrapped to the top: 1 of 1"_qs);

    // The matches on the screen show in the find colour, over a mark as well.
    const QTextCharFormat find = LineLayouts::findFormat();
    LineLayouts layouts(view.font());
    MatchFinder disks = [](const DisplayModel&, std::int64_t from, std::int64_t, auto& found) {
        if (from == 0) {
            found.emplace_back(0, 4);
        }
    };
    const LaidOutLine laid = layouts.layOut(*view.model(), 0, 0, 400, &disks);
    bool bold = false;
    bool coloured = false;
    for (const QTextLayout::FormatRange& range : laid.layout->formats()) {
        bold = bold || (range.start == 0 && range.format.fontWeight() == QFont::Bold);
        coloured = coloured || (range.start == 0 && range.format.background() == find.background());
    }
    EXPECT_TRUE(bold && coloured);

    // An update keeps the query and the match selected, and counts again.
    files_.append(u"find.log"_qs, "error three\n");
    window->dispatchCommand(IdStart);
    ASSERT_TRUE(window->waitForDisplayIdle(5000));
    settle();
    EXPECT_EQ(view.selection(), (TextSelection{18, 23}));
    EXPECT_EQ(bar.countText(), u"1 of 2"_qs);
    // A bad expression is told where the count goes.
    bar.findChild<QCheckBox*>(u"findRegex"_qs)->click();
    box->setText(u"err(or"_qs);
    settle();
    EXPECT_TRUE(bar.countText().endsWith(u"at character 7"_qs)) << bar.countText().toStdString();

    // F4 and Shift+F4 walk through the keyword marks, wrapping.
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_EQ(view.selection(), (TextSelection{28, 32}));
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_EQ(view.selection(), (TextSelection{0, 4}));
    QTest::keyClick(window.get(), Qt::Key_F4, Qt::ShiftModifier);
    EXPECT_EQ(view.selection(), (TextSelection{28, 32}));

    // Escape in the bar closes the bar, not the window; the display takes its place back.
    const int barTop = bar.geometry().top();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(bar.isVisible());
    EXPECT_TRUE(window->isVisible());
    EXPECT_GT(view.geometry().bottom(), barTop);
    window->resize(320, 250); // at the smallest size, the opened bar shows whole
    window->dispatchCommand(IdFind);
    QTest::qWait(50);
    for (QWidget* child : bar.findChildren<QWidget*>()) {
        if (!child->isWindow() && child->isVisible() && !child->accessibleName().isEmpty()) {
            EXPECT_TRUE(bar.rect().contains(child->geometry()))
                << child->objectName().toStdString();
        }
    }
    // ... below the controls, never over them: the window grows by the bar while it is open.
    for (const int id : {IdIntervalBox, IdStart, IdExitPause, IdPrintButton}) {
        EXPECT_FALSE(bar.geometry().intersects(window->control(id)->geometry())) << id;
    }
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_EQ(window->minimumSize(), QSize(320, 250));
    window->dispatchCommand(IdFind);
    test::saveScreenshot(*window, "find-bar");
}

TEST_F(MainWindowTest, KeywordExpressionsAreCheckedOnOkAndAStoredBadOneIsTold) {
    temp_.set({{"Highlight", "1"}, {"KeywordsRegex", "1"}, {"Keywords", ";;err(or;;disk \\d+"}});
    const QString path = files_.write(u"regex.log"_qs, "disk 12 full\nerror\n");
    auto window = makeWindow();
    typeStart(*window, path);
    EXPECT_EQ(window->display()->model()->marks(), (MarkRuns{{0, 7, 1}}));
    EXPECT_TRUE(
        status(*window).contains(u"Keyword 1 \"err(or\" is not a valid regular expression"_qs))
        << status(*window).toStdString();
    whileOpen<OptionsSheet>(
        [&] { window->dispatchCommand(IdOptions); },
        [&](OptionsSheet& sheet) {
            QWidget* page = sheet.page(1);
            EXPECT_TRUE(page->findChild<QCheckBox*>(u"keywordsRegex"_qs)->isChecked());
            sheet.accept(); // the bad line keeps the sheet open
            EXPECT_TRUE(sheet.isVisible());
            const auto* problem = page->findChild<QLabel*>(u"keywordsProblem"_qs);
            EXPECT_TRUE(problem->text().startsWith(
                u"Line 1: missing closing parenthesis at character 7"_qs))
                << problem->text().toStdString();
            EXPECT_EQ(problem->accessibleName(), problem->text());
            page->findChild<QPlainTextEdit*>()->setPlainText(u"err(or)?\n"_qs);
            sheet.accept();
        });
    ASSERT_TRUE(window->waitForDisplayIdle(5000));
    EXPECT_EQ(window->display()->model()->marks(), (MarkRuns{{13, 5, 1}}));
    EXPECT_FALSE(status(*window).contains(u"Keyword"_qs));
    EXPECT_EQ(temp_.store().readSetting(u"KeywordsRegex"_qs), u"1"_qs);
}
