// The window and a real tray: runs under an X server with a session bus (see CMakeLists.txt),
// with a StatusNotifierWatcher of our own standing in for the desktop's tray.
#include "app/CommandId.h"
#include "app/MainWindow.h"
#include "support/TempSettings.h"
#include "tray/TrayState.h"

#include <QProcess>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

using namespace ombrel;

namespace {

class TrayWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        host_ = new QProcess;
        host_->start(QStringLiteral(OMBREL_TRAY_HOST), {});
        // The tray is looked for once per process: the host must be up before any window.
        ASSERT_TRUE(host_->waitForReadyRead(10000)) << "no tray host on the session bus";
    }
    static void TearDownTestSuite() {
        host_->kill();
        host_->waitForFinished();
        delete host_;
    }
    static QProcess* host_;
};

QProcess* TrayWindowTest::host_ = nullptr;

TEST_F(TrayWindowTest, TheWindowGoesIntoTheTrayOnlyWhenItsIconIsThere) {
    struct Case {
        bool sysTray, minTray;
        bool boxHides; // the minimise box hides the window into the tray
    };
    for (const Case c : {Case{false, false, false}, Case{false, true, false},
                         Case{true, false, false}, Case{true, true, true}}) {
        SCOPED_TRACE(testing::Message() << "SysTray " << c.sysTray << ", MinTray " << c.minTray);
        test::TempSettings temp;
        temp.store().writeSetting(QStringLiteral("SysTray"), QString::number(int(c.sysTray)));
        temp.store().writeSetting(QStringLiteral("MinTray"), QString::number(int(c.minTray)));
        MainWindow window(MainWindowSetup{{}, temp.store(), QString(), {}, {}});
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        const TrayState& tray = window.tray().state();
        if (c.sysTray) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return window.tray().isShown(); }, 5000));
        }
        EXPECT_EQ(window.tray().isShown(), c.sysTray);

        // The minimise box hides into the tray with both settings on; "Minimize" whenever
        // the icon is there.
        const std::pair<std::function<void()>, bool> minimisers[] = {
            {[&] { window.showMinimized(); }, c.boxHides},
            {[&] { window.dispatchCommand(IdMinimize); }, c.sysTray}};
        for (const auto& [minimise, hides] : minimisers) {
            minimise();
            QTest::qWait(50);
            EXPECT_EQ(window.isVisible(), !hides);
            EXPECT_EQ(tray.windowInTray(), hides);
            window.dispatchCommand(IdRestore);
            EXPECT_TRUE(window.isVisible());
            EXPECT_FALSE(window.isMinimized());
            EXPECT_FALSE(tray.windowInTray());
        }
    }
}

} // namespace
