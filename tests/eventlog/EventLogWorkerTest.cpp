#include "eventlog/EventLogWorker.h"

#include "eventlog/EventBlock.h"
#include "eventlog/JournalWatch.h"
#include "support/TestJournal.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <mutex>

using namespace ombrel;
using test::FakeLog;

namespace {

std::vector<EventRecord> records(int n) {
    std::vector<EventRecord> all;
    for (int i = 1; i <= n; ++i) {
        all.push_back({static_cast<std::uint64_t>(i),
                       i,
                       0,
                       EventType::Warning,
                       QStringLiteral("src"),
                       {QStringLiteral("r%1").arg(i)}});
    }
    return all;
}

/// What a worker reported, filled on its thread.
struct Reports {
    std::mutex mutex;
    QStringList texts;
    QStringList problems;
    std::atomic<int> failures{0};
    std::atomic<int> error{0};

    template <class F> auto locked(F f) {
        const std::lock_guard lock(mutex);
        return f();
    }
    EventLogWorkerReports callbacks() {
        return {[this](const QString& p) { locked([&] { problems << p; }); },
                [this](const QString& t) { locked([&] { texts << t; }); },
                [this](int e) {
                    error = e;
                    ++failures;
                }};
    }
};

} // namespace

// Reading at once, reporting the problem and stopping a waiting worker are checked by the
// main window's event-log tests.
TEST(EventLogWorker, AFailedWaitIsReportedAndEndsTheWorker) {
    FakeLog log;
    log.wait = FakeLog::Wait::Fail;
    log.waitError = 5;
    Reports reports;
    EventLogWorker worker({log.maker(), {}, 10}, reports.callbacks());
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports.failures > 0 && log.alive == 0; }, 5000));
    EXPECT_EQ(reports.failures, 1);
    EXPECT_EQ(reports.error, 5);
    EXPECT_EQ(reports.texts, QStringList{QString()}); // the first read, of an empty log
}

TEST(EventLogWorker, ABusyLogIsReadAtMostOncePerIntervalAndASameTextNotAgain) {
    FakeLog log;
    log.records = records(2);
    log.wait = FakeLog::Wait::Ready; // a change every moment
    Reports reports;
    EventLogWorker worker({log.maker(), {}, 5, 100}, reports.callbacks());
    QTest::qWait(550);
    worker.stop();
    EXPECT_GE(log.reads, 3);
    EXPECT_LE(log.reads, 7);
    EXPECT_EQ(reports.texts.size(), 1);
}

TEST(JournalWatch, DropsWhatAStoppedWorkerReported) {
    FakeLog log;
    log.records = records(1);
    JournalWatch watch(log.maker());
    QSignalSpy texts(&watch, &JournalWatch::textReady);
    watch.start({{}, 1});
    // Waits without handling events, so the report stays queued.
    for (int i = 0; i < 500 && log.reads == 0; ++i) {
        QThread::msleep(10);
    }
    EXPECT_TRUE(watch.stop());
    QCoreApplication::processEvents();
    EXPECT_EQ(texts.count(), 0);
    EXPECT_FALSE(watch.stop());

    watch.start({{}, 1});
    ASSERT_TRUE(texts.wait(5000));
    EXPECT_EQ(texts.at(0).at(0).toString(), eventBlocks(records(1)));
}
