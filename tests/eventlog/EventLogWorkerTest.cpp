#include "eventlog/EventLogWorker.h"

#include "eventlog/EventBlock.h"
#include "eventlog/HostNameLookup.h"
#include "eventlog/JournalWatch.h"
#include "support/TestJournal.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

using namespace ombrel;
using test::FakeLog;

namespace {

std::vector<EventRecord> records(int n) {
    std::vector<EventRecord> all;
    for (int i = 1; i <= n; ++i) {
        const auto number = static_cast<std::uint64_t>(i);
        all.push_back({number, i, 0, EventType::Warning, u"src"_qs, {u"r%1"_qs.arg(i)}, {}, {}});
    }
    return all;
}

} // namespace

// Reading at once, reporting a problem or a failed wait, and stopping a waiting worker are
// checked by the main window's event-log tests.
TEST(EventLogWorker, ABusyLogIsReadAtMostOncePerIntervalAndASameTextNotAgain) {
    FakeLog log;
    log.records = records(2);
    log.wait = FakeLog::Wait::Ready; // a change every moment
    std::atomic<int> texts{0};
    EventLogWorker worker({log.maker(), {}, 5, 100},
                          {[](const QString&) {}, [&](const QString&) { ++texts; }, [](int) {}});
    QTest::qWait(550);
    worker.stop();
    EXPECT_GE(log.reads, 3);
    EXPECT_LE(log.reads, 7);
    EXPECT_EQ(texts, 1);
}

TEST(HostNameLookup, OfLookupsAskedForWhileOneRunsOnlyTheLastIsMadeAndReported) {
    std::atomic<bool> release{false};
    std::vector<QString> read; // the folders looked up, on the lookup's thread
    HostNameLookup lookup([&](const JournalSourceOptions& options) {
        read.push_back(options.directory);
        while (!release) {
            QThread::msleep(5);
        }
        return QStringList{options.directory};
    });
    QSignalSpy found(&lookup, &HostNameLookup::namesFound);
    for (const char* folder : {"a", "b", "c"}) {
        lookup.start({JournalKind::System, QString::fromLatin1(folder), {}});
    }
    release = true;
    ASSERT_TRUE(found.wait(5000));
    EXPECT_FALSE(found.wait(200)); // a's names, stale by then, never came
    ASSERT_EQ(found.count(), 1);
    EXPECT_EQ(found.at(0).at(0).toStringList(), QStringList{QStringLiteral("c")});
    EXPECT_EQ(read, (std::vector<QString>{QStringLiteral("a"), QStringLiteral("c")}));
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
