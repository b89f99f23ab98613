#include "app/ResizeLayout.h"

#include <gtest/gtest.h>

using ombrel::ResizeLayout;
using ombrel::ResizeRule;

TEST(ResizeLayout, FollowsTheSizeChangeFromTheRecordedRectangles) {
    ResizeLayout layout;
    layout.prepare({400, 300});
    const int box = layout.add({10, 20, 100, 15}, ResizeRule::StretchRight);
    const int button = layout.add({200, 20, 40, 15}, ResizeRule::MoveHorizontally);
    const int display = layout.add({10, 100, 380, 150}, ResizeRule::StretchRightBottom);

    EXPECT_EQ(layout.arrange(box, {500, 350}), QRect(10, 20, 200, 15));
    EXPECT_EQ(layout.arrange(button, {500, 350}), QRect(300, 20, 40, 15));
    EXPECT_EQ(layout.arrange(display, {500, 350}), QRect(10, 100, 480, 200));
    // Always from the recorded rectangles, so shrinking back restores them exactly.
    EXPECT_EQ(layout.arrange(display, {400, 300}), QRect(10, 100, 380, 150));
    EXPECT_EQ(layout.arrange(button, {350, 300}), QRect(150, 20, 40, 15));
}
