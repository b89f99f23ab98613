#include "eventlog/EventLogWorker.h"

#include "eventlog/EventBlock.h"
#include "eventlog/HostNameLookup.h"
#include "eventlog/JournalWatch.h"
#include "support/TestJournal.h"

#include <QCoreApplication>
#include <QDir>
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

TEST(JournalWatch, FollowsAFolderAsMachinesComeAndRotateAndItGoesAndComesBack) {
    test::TestJournal journal;
    QDir dir(journal.directory());
    const auto entry = [](const char* host, const char* message) {
        return std::vector<test::JournalEntryFields>{{{"_HOSTNAME", host}, {"MESSAGE", message}}};
    };
    ASSERT_TRUE(journal.append(entry("web1", "w1"), QStringLiteral("remote-web1.journal")));
    JournalWatch watch;
    QSignalSpy texts(&watch, &JournalWatch::textReady);
    QSignalSpy problems(&watch, &JournalWatch::problemFound);
    watch.start({{JournalKind::System, dir.path(), {}}, 100});
    // The messages of a text (two characters each), and of the newest text.
    const auto messagesOf = [](const QString& text) {
        QStringList shown;
        for (const QString& line : text.split(u'\n')) {
            if (line.size() == 2 && line[0].isLetter()) {
                shown << line;
            }
        }
        return shown.join(u' ');
    };
    const auto messages = [&] {
        return texts.isEmpty() ? QString() : messagesOf(texts.back().at(0).toString());
    };
    const auto showsOnly = [&](const char* shown) {
        return QTest::qWaitFor([&] { return messages() == QString::fromLatin1(shown); }, 5000);
    };
    ASSERT_TRUE(showsOnly("w1"));
    // A machine that sends for the first time, then web1's file rotated: archived under its
    // "@" name and a new one begun. Every entry shows once, in time order, at every update.
    ASSERT_TRUE(journal.append(entry("db2", "d1"), QStringLiteral("remote-db2.journal")));
    EXPECT_TRUE(showsOnly("w1 d1"));
    ASSERT_TRUE(
        dir.rename(QStringLiteral("remote-web1.journal"),
                   QStringLiteral("remote-web1@0123456789abcdef0123456789abcdef-0000000000000001-"
                                  "0006000000000000.journal")));
    ASSERT_TRUE(journal.append(entry("web1", "w2"), QStringLiteral("remote-web1.journal")));
    EXPECT_TRUE(showsOnly("w1 d1 w2"));
    for (const QList<QVariant>& text : texts) {
        const QString shown = messagesOf(text.at(0).toString());
        EXPECT_TRUE(shown == u"w1" || shown == u"w1 d1" || shown == u"w1 d1 w2")
            << shown.toStdString();
    }

    // The folder goes: the pane says so and nothing shows; back, it is read again.
    ASSERT_TRUE(QDir(dir.path()).removeRecursively());
    const auto told = [&](const QString& problem) {
        return QTest::qWaitFor(
            [&] { return !problems.isEmpty() && problems.back().at(0).toString() == problem; },
            5000);
    };
    EXPECT_TRUE(told(QStringLiteral("Cannot open %1: No such file or directory").arg(dir.path())));
    EXPECT_TRUE(showsOnly(""));
    ASSERT_TRUE(QDir().mkdir(dir.path()));
    ASSERT_TRUE(journal.append(entry("web1", "w3"), QStringLiteral("remote-web1.journal")));
    EXPECT_TRUE(showsOnly("w3"));
    EXPECT_TRUE(told(QString()));
}
