#include "notify/NotifyThrottle.h"

#include <gtest/gtest.h>

using namespace ombrel;
using namespace Qt::StringLiterals;

TEST(NotifyThrottle, OneNotificationPerSourceAndPeriodTheRestHeldAndCounted) {
    NotifyThrottle throttle(5000);
    const QString a = u"a.log"_s, b = u"System Log"_s;
    EXPECT_EQ(throttle.offer(a, 1000), 0);
    EXPECT_EQ(throttle.offer(a, 1100), std::nullopt);
    EXPECT_EQ(throttle.offer(a, 5999), std::nullopt);
    EXPECT_EQ(throttle.offer(b, 1200), 0); // another source has a period of its own
    EXPECT_EQ(throttle.nextDue(), 6000);
    EXPECT_TRUE(throttle.takeDue(5999).empty());
    const auto due = throttle.takeDue(6000);
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].source, a);
    EXPECT_EQ(due[0].changes, 2);
    // The held changes' notification started a period: the next change waits for its end.
    EXPECT_EQ(throttle.offer(a, 6500), std::nullopt);
    EXPECT_EQ(throttle.nextDue(), 11000);
    // A change after the end, before the held ones were taken, tells of them too.
    EXPECT_EQ(throttle.offer(a, 11500), 1);
    EXPECT_EQ(throttle.nextDue(), std::nullopt);
    // A source quiet for a period is forgotten; its next change goes out at once.
    EXPECT_TRUE(throttle.takeDue(17000).empty());
    EXPECT_EQ(throttle.offer(a, 17001), 0);
}

TEST(NotifyThrottle, AThousandChangesInTenSecondsGiveThreeNotifications) {
    NotifyThrottle throttle(5000);
    int sent = 0;
    for (std::int64_t now = 0; now <= 10000; now += 10) {
        // The window's timer takes what is due before the change of the same moment.
        if (const auto due = throttle.nextDue(); due && *due <= now) {
            sent += static_cast<int>(throttle.takeDue(now).size());
        }
        if (now < 10000 && throttle.offer(u"a"_s, now)) {
            ++sent;
        }
    }
    EXPECT_EQ(sent, 3);
    EXPECT_EQ(throttle.nextDue(), std::nullopt);
}
