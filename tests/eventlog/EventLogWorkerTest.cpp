#include "eventlog/EventLogWorker.h"

#include "eventlog/EventBlock.h"
#include "eventlog/JournalWatch.h"
#include "support/TestJournal.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <chrono>
#include <gtest/gtest.h>
#include <mutex>

using namespace ombrel;
using Script = test::FakeRecordSource::Script;
using Clock = std::chrono::steady_clock;

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

    EventLogWorkerReports callbacks() {
        return {[this](const QString& p) { add(problems, p); },
                [this](const QString& t) { add(texts, t); },
                [this](int e) {
                    error = e;
                    ++failures;
                }};
    }
    void add(QStringList& list, const QString& text) {
        const std::lock_guard lock(mutex);
        list << text;
    }
    qsizetype textCount() {
        const std::lock_guard lock(mutex);
        return texts.size();
    }
};

EventLogWorkerSetup setupFor(Script& script, std::int64_t count, int intervalMs = 250) {
    return {test::FakeRecordSource::maker(script), {}, count, intervalMs};
}

} // namespace

TEST(EventLogWorker, ReadsAtOnceThenWaitsAndStopsWhileWaiting) {
    Script script;
    script.records = records(3);
    script.problem = QStringLiteral("why it is empty");
    Reports reports;
    EventLogWorker worker(setupFor(script, 2), reports.callbacks());
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports.textCount() == 1; }, 5000));
    EXPECT_EQ(reports.texts.front(), eventBlocks(records(3)).section(u'\n', 4));
    EXPECT_EQ(reports.problems, QStringList{script.problem});

    const auto before = Clock::now();
    worker.stop();
    EXPECT_LT(Clock::now() - before, std::chrono::seconds(1));
    EXPECT_EQ(script.alive, 0);
    EXPECT_EQ(script.reads, 1);
}

TEST(EventLogWorker, AFailedWaitIsReportedAndEndsTheWorker) {
    Script script;
    script.wait = Script::Wait::Fail;
    script.waitError = 5;
    Reports reports;
    EventLogWorker worker(setupFor(script, 10), reports.callbacks());
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports.failures > 0 && script.alive == 0; }, 5000));
    EXPECT_EQ(reports.failures, 1);
    EXPECT_EQ(reports.error, 5);
    EXPECT_EQ(reports.texts, QStringList{QString()}); // the first read, of an empty log
}

TEST(EventLogWorker, ABusyLogIsReadAtMostOncePerIntervalAndASameTextNotAgain) {
    Script script;
    script.records = records(2);
    script.wait = Script::Wait::Ready; // a change every moment
    Reports reports;
    EventLogWorker worker(setupFor(script, 5, 100), reports.callbacks());
    QTest::qWait(550);
    worker.stop();
    EXPECT_GE(script.reads, 3);
    EXPECT_LE(script.reads, 7);
    EXPECT_EQ(reports.textCount(), 1);
}

TEST(JournalWatch, DropsWhatAStoppedWorkerReported) {
    Script script;
    script.records = records(1);
    JournalWatch watch(test::FakeRecordSource::maker(script));
    QSignalSpy texts(&watch, &JournalWatch::textReady);
    watch.start({{}, 1});
    // Waits without handling events, so the report stays queued.
    for (int i = 0; i < 500 && script.reads == 0; ++i) {
        QThread::msleep(10);
    }
    EXPECT_TRUE(watch.stop()); // the report is on its way but not delivered yet
    QCoreApplication::processEvents();
    EXPECT_EQ(texts.count(), 0);
    EXPECT_FALSE(watch.stop());

    watch.start({{}, 1});
    ASSERT_TRUE(texts.wait(5000));
    EXPECT_EQ(texts.at(0).at(0).toString(), eventBlocks(records(1)));
}

TEST(JournalWatch, FollowsARealJournalUntilStopped) {
    test::TestJournal journal;
    ASSERT_TRUE(journal.append({{{"MESSAGE", "first"}}}));
    JournalWatch watch;
    QSignalSpy texts(&watch, &JournalWatch::textReady);
    watch.start({{JournalKind::System, journal.directory()}, 10});
    ASSERT_TRUE(texts.wait(5000));
    EXPECT_TRUE(texts.at(0).at(0).toString().endsWith(u"first\n\n"));

    ASSERT_TRUE(journal.append({{{"MESSAGE", "second"}}}));
    ASSERT_TRUE(texts.wait(5000));
    const QString both = texts.at(1).at(0).toString();
    EXPECT_TRUE(both.contains(u"first\n\n02\t") && both.endsWith(u"second\n\n"));

    watch.stop();
    ASSERT_TRUE(journal.append({{{"MESSAGE", "third"}}}));
    EXPECT_FALSE(texts.wait(700));
}
