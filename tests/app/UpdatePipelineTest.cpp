#include "app/UpdatePipeline.h"

#include "support/GatedFileSystem.h"
#include "support/TempFiles.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <string_view>

using namespace ombrel;

namespace {

class UpdatePipelineTest : public testing::Test {
protected:
    UpdateRequest request() const {
        UpdateRequest request;
        request.path = path_;
        request.byteCount = 1000;
        return request;
    }
    static QString shown(const QList<QVariant>& signal) {
        return signal.at(0).value<DisplayUpdate>().model->text();
    }
    bool readsReach(int count) const {
        return QTest::qWaitFor([&] { return files_.reads() >= count; }, 5000);
    }

    test::TempFiles temp_;
    const QString path_ = temp_.append(u"app.log"_qs, "one\n");
    test::GatedFileSystem files_;
    UpdatePipeline pipeline_{files_};
    QSignalSpy ready_{&pipeline_, &UpdatePipeline::updateReady};
};

} // namespace

TEST_F(UpdatePipelineTest, ChangesFasterThanAnUpdateAreShownAtMostOneUpdateLate) {
    files_.close();
    pipeline_.request(request());
    ASSERT_TRUE(readsReach(1));
    // Three changes while the first update reads: one follow-up, not three, and no drop; the
    // change one request was to tell is told by the follow-up that replaced it.
    for (const char* line : {"two\n", "three\n", "four\n"}) {
        temp_.append(u"app.log"_qs, line);
        UpdateRequest next = request();
        next.change = std::string_view(line) == "two\n";
        pipeline_.request(next);
    }
    EXPECT_TRUE(pipeline_.busy());
    files_.open();
    ASSERT_TRUE(pipeline_.waitForIdle(5000));
    ASSERT_EQ(ready_.count(), 2);
    EXPECT_EQ(files_.reads(), 2);
    EXPECT_EQ(shown(ready_.at(1)), QStringLiteral("one\ntwo\nthree\nfour\n"));
    EXPECT_TRUE(ready_.at(1).at(0).value<DisplayUpdate>().change);
    EXPECT_FALSE(ready_.at(0).at(0).value<DisplayUpdate>().change);

    // A new session drops what runs and what waits.
    files_.close();
    pipeline_.request(request());
    ASSERT_TRUE(readsReach(3));
    pipeline_.request(request());
    pipeline_.cancel();
    files_.open();
    ASSERT_TRUE(pipeline_.waitForIdle(5000));
    QTest::qWait(20);
    EXPECT_EQ(ready_.count(), 2);
    EXPECT_EQ(files_.reads(), 3);
}

TEST_F(UpdatePipelineTest, ASourceTooLargeToHoldGivesAnEmptyUpdate) {
    files_.outOfMemory = true;
    pipeline_.request(request());
    ASSERT_TRUE(pipeline_.waitForIdle(5000));
    ASSERT_EQ(ready_.count(), 1);
    EXPECT_EQ(shown(ready_.at(0)), QString());
    // Told as a read that failed, so it is tried again.
    EXPECT_EQ(ready_.at(0).at(0).value<DisplayUpdate>().snapshot.failure, u"Not enough memory"_qs);
    EXPECT_FALSE(pipeline_.busy());
}
