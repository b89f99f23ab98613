// The real Windows event log. Under Wine, whose event-log functions are stubs, it opens but
// reads nothing and never changes; on Windows it reads the newest records.
#include "eventlog/WinEventLogSource.h"

#include "eventlog/JournalWatch.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

using namespace ombrel;

namespace {

bool underWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

} // namespace

TEST(WinEventLogSource, ReadsTheNewestRecordsOldestFirstOrFailsCleanly) {
    for (const JournalKind kind : {JournalKind::System, JournalKind::CurrentUser}) {
        WinEventLogSource source({kind, {}, {}});
        StopSignal stop;
        const std::vector<EventRecord> records = source.newest(5, stop);
        EXPECT_LE(records.size(), 5u);
        for (std::size_t i = 1; i < records.size(); ++i) {
            EXPECT_LT(records[i - 1].number, records[i].number);
        }
        EXPECT_TRUE(source.newest(0, stop).empty());
        if (underWine()) {
            EXPECT_TRUE(records.empty());
            EXPECT_TRUE(source.hostNames().isEmpty());
        }
        EXPECT_EQ(source.problem(), QString()); // both logs can be opened by any user
    }
}

TEST(WinEventLogSource, AWaitEndsAtOnceWhenStopped) {
    WinEventLogSource source({JournalKind::CurrentUser, {}, {}});
    StopSignal stop;
    QElapsedTimer waited;
    waited.start();
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop.raise();
    });
    WaitOutcome outcome;
    // Under Wine nothing ever changes; on Windows a record may come meanwhile.
    do {
        outcome = source.waitForChange(stop);
    } while (outcome.kind == WaitOutcome::Kind::Ready && !underWine());
    stopper.join();
    EXPECT_EQ(outcome.kind, WaitOutcome::Kind::Stopped);
    EXPECT_LT(waited.elapsed(), 5000);
}

TEST(WinEventLogSource, AWatchOfTheRealLogShowsItsTextAndStops) {
    JournalWatch watch; // the system's event log
    QSignalSpy texts(&watch, &JournalWatch::textReady);
    QSignalSpy problems(&watch, &JournalWatch::problemFound);
    watch.start({{JournalKind::System, {}, {}}, 3});
    ASSERT_TRUE(texts.wait(10000));
    ASSERT_GE(problems.count(), 1);
    EXPECT_EQ(problems.at(0).at(0).toString(), QString());
    if (underWine()) {
        EXPECT_EQ(texts.at(0).at(0).toString(), QString());
    }
    QElapsedTimer stopping;
    stopping.start();
    EXPECT_TRUE(watch.stop());
    EXPECT_LT(stopping.elapsed(), 2000);
}
