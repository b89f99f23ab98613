#pragma once

#include "eventlog/RecordSource.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <atomic>
#include <utility>
#include <vector>

namespace ombrel::test {

/// One journal entry: its fields as NAME, value pairs, in order.
using JournalEntryFields = std::vector<std::pair<QByteArray, QByteArray>>;

/// A folder of real journal files, written by systemd-journal-remote from export text.
class TestJournal {
public:
    /// The folder.
    QString directory() const { return dir_.path(); }
    /// Appends entries to file in the folder; each gets a realtime stamp (one second apart from
    /// 2023-11-14 22:13:20 UTC), a monotonic one and a boot ID unless it brings them. False when
    /// the tool failed.
    bool append(const std::vector<JournalEntryFields>& entries,
                const QString& file = QStringLiteral("system.journal"));

private:
    QTemporaryDir dir_;
    std::int64_t nextSecond_ = 1700000000;
};

/// A scripted event log: fixed records and a wait that blocks until stopped, is always ready or
/// fails; counts its reads and its live sources, for any thread to look at.
struct FakeLog {
    enum class Wait { UntilStopped, Ready, Fail };
    std::vector<EventRecord> records;
    Wait wait = Wait::UntilStopped;
    int waitError = 0;
    std::atomic<int> reads{0};
    std::atomic<int> alive{0};
    /// Makes sources that play this log, which must outlive them.
    RecordSourceMaker maker();
};

} // namespace ombrel::test
