// The window as a native Wayland client: runs under a headless Weston and a session bus of its
// own with no tray (see CMakeLists.txt).
#include "app/CommandId.h"
#include "app/MainWindow.h"
#include "display/LogView.h"
#include "options/OptionsSheet.h"
#include "support/TempFiles.h"
#include "support/TempSettings.h"
#include "support/WindowTesting.h"

#include <QComboBox>
#include <QFontDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace ombrel;
using namespace Qt::StringLiterals;

TEST(WaylandWindow, WatchesAFileWithItsDialogsFlashAndNoTray) {
    ASSERT_EQ(QGuiApplication::platformName(), u"wayland"_s);
    test::TempSettings settings({{"Flash", "1"}, {"SysTray", "1"}, {"MinTray", "1"}});
    test::TempFiles files;
    const QString path = files.write(u"w.log"_s, "one\ntwo\n");
    MainWindowSetup setup{{}, settings.store(), QString(), {}, {}};
    setup.config.loadText("<Config><Time>1</Time></Config>");
    MainWindow window(std::move(setup));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    qobject_cast<QComboBox*>(window.control(IdFileNameBox))->setEditText(path);
    qobject_cast<QComboBox*>(window.control(IdIntervalBox))->setEditText(u"1"_s);
    window.dispatchCommand(IdStart);
    const auto shows = [&](const QString& text) {
        return QTest::qWaitFor([&] { return window.display()->text() == text; }, 5000);
    };
    EXPECT_TRUE(shows(u"one\ntwo\n"_s));
    files.append(u"w.log"_s, "three\n"); // flashes: QApplication::alert on this platform
    EXPECT_TRUE(shows(u"one\ntwo\nthree\n"_s));
    auto* exitPause = qobject_cast<QPushButton*>(window.control(IdExitPause));
    window.dispatchCommand(IdExitPause);
    EXPECT_EQ(exitPause->text(), u"Exit"_s);
    files.append(u"w.log"_s, "paused\n");
    window.dispatchCommand(IdStart);
    EXPECT_EQ(exitPause->text(), u"Pause"_s);
    EXPECT_TRUE(shows(u"one\ntwo\nthree\npaused\n"_s));
    test::saveScreenshot(window, "wayland");

    test::whileOpen<OptionsSheet>([&] { window.dispatchCommand(IdOptions); },
                                  [](OptionsSheet& sheet) { sheet.reject(); });
    test::whileOpen<QFontDialog>([&] { window.dispatchCommand(IdWindowFont); },
                                 [](QFontDialog& dialog) { dialog.reject(); });

    // No tray here: the window is never hidden into one, and comes back.
    EXPECT_FALSE(window.tray().isShown());
    for (const int id : {IdMinimize, IdRestore}) {
        window.dispatchCommand(id);
        QTest::qWait(100);
        EXPECT_TRUE(window.isVisible());
        EXPECT_FALSE(window.tray().state().windowInTray());
    }
    window.showMinimized();
    QTest::qWait(100);
    EXPECT_TRUE(window.isVisible());
}
