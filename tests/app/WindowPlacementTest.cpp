#include "app/WindowPlacement.h"

#include <gtest/gtest.h>

using ombrel::fitToScreens;

TEST(WindowPlacement, FitsTheScreensWithoutMovingAWindowThatIsOnOne) {
    const QList<QRect> screens = {{0, 0, 1920, 1050}, {1920, 0, 1280, 1024}};
    const struct {
        QRect wanted;
        QRect placed;
    } cases[] = {
        {{100, 100, 400, 300}, {100, 100, 400, 300}},
        // Partly off the screen: kept where asked.
        {{-200, 900, 400, 300}, {-200, 900, 400, 300}},
        // Too large: cut to the area of the screen it mostly covers.
        {{0, 0, 99999999, 99999999}, {0, 0, 1920, 1050}},
        {{2000, 10, 5000, 400}, {2000, 10, 1280, 400}},
        // Wholly off every screen: moved into the primary one.
        {{5000, 5000, 400, 300}, {1520, 750, 400, 300}},
        {{-9000, -50, 20000, 20}, {0, 0, 1920, 20}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fitToScreens(c.wanted, screens, 0), c.placed)
            << c.wanted.x() << ',' << c.wanted.y();
    }
    EXPECT_EQ(fitToScreens({5000, 5000, 400, 300}, screens, 1), QRect(2800, 724, 400, 300));
    EXPECT_EQ(fitToScreens({5000, 5000, 400, 300}, {}, 0), QRect(5000, 5000, 400, 300));
}
