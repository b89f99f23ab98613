#include "notify/AlertSound.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>
#include <gtest/gtest.h>

using namespace ombrel;

TEST(AlertSound, WithoutASoundServerTheFallbackSoundsOnTheOwnersThread) {
    int fallbacks = 0;
    bool onOwnersThread = true;
    // A driver libcanberra has not: as a machine with no sound server, whatever this one has.
    AlertSound sound({"no-such-driver", [&] {
                          ++fallbacks;
                          onOwnersThread &= QThread::currentThread() == qApp->thread();
                      }});
    QSignalSpy played(&sound, &AlertSound::played);
    for (int round = 1; round <= 2; ++round) { // a failed open is tried again
        QElapsedTimer asked;
        asked.start();
        sound.play();
        EXPECT_LT(asked.elapsed(), 50);
        ASSERT_TRUE(played.wait(5000));
        EXPECT_FALSE(played.takeFirst().at(0).toBool());
        EXPECT_EQ(fallbacks, round);
    }
    EXPECT_TRUE(onOwnersThread);
}
