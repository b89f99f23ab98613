#include "tray/TrayState.h"

#include <gtest/gtest.h>
#include <vector>

using namespace ombrel;

TEST(TrayState, TooltipsNameTheSourceWithinTheLimit) {
    EXPECT_EQ(TrayState().tip(), QStringLiteral("Ombrel"));
    EXPECT_EQ(TrayState::watchingTip(QStringLiteral("/var/log/syslog")),
              QStringLiteral("Ombrel\n/var/log/syslog"));
    EXPECT_EQ(TrayState::pausedTip(QString()), QStringLiteral("Ombrel - Paused\n"));
    const QString longPath =
        QStringLiteral("/var/log/") + QString(80, u'd') + QStringLiteral("/app.log");
    for (const QString& tip : {TrayState::watchingTip(longPath), TrayState::pausedTip(longPath)}) {
        EXPECT_LE(tip.size(), TrayState::tooltipLimit - 1) << tip.toStdString();
        EXPECT_TRUE(tip.endsWith(u"/app.log")) << tip.toStdString();
    }
}

TEST(TrayState, AnimationRunsTheFramesForFiveWholeSecondsThenBringsBackThePicture) {
    TrayState tray;
    tray.setImage({TrayImage::Paused});
    tray.startAnimation(100);
    std::vector<int> frames;
    for (int tick = 0; tick < 9; ++tick) {
        tray.frameTick(100);
        frames.push_back(tray.image().frame);
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 0, 1}));
    // A picture set meanwhile shows until the next frame; the end brings back the old one.
    tray.setImage({TrayImage::Running});
    tray.frameTick(105);
    EXPECT_EQ(tray.image().kind, TrayImage::Frame);
    tray.frameTick(106);
    EXPECT_FALSE(tray.animating());
    EXPECT_EQ(tray.image(), TrayImage{TrayImage::Paused});

    // A second start keeps the picture from before the first; a stop comes back to it.
    tray.startAnimation(200);
    tray.frameTick(200);
    tray.startAnimation(201);
    tray.stopAnimation();
    EXPECT_EQ(tray.image(), TrayImage{TrayImage::Paused});
    tray.frameTick(202); // a tick after the end does nothing
    EXPECT_EQ(tray.image(), TrayImage{TrayImage::Paused});
}
