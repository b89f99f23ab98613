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
    TestJournal();
    /// The folder.
    QString directory() const { return dir_.path(); }
    /// Appends entries to the folder's file (created on first use); each gets a realtime
    /// stamp (one second apart, from 2023-11-14 22:13:20 UTC) unless it brings its own.
    /// False when the tool failed.
    bool append(const std::vector<JournalEntryFields>& entries,
                const QString& file = QStringLiteral("system.journal"));

private:
    QTemporaryDir dir_;
    std::int64_t nextSecond_ = 1700000000;
};

/// A scripted event log for the worker: fixed records, a wait that blocks until stopped,
/// succeeds at once or fails, and counters the test reads from its own thread.
class FakeRecordSource final : public RecordSource {
public:
    /// What the fake does and what it saw.
    struct Script {
        std::vector<EventRecord> records;
        QString problem;
        enum class Wait { UntilStopped, Ready, Fail } wait = Wait::UntilStopped;
        int waitError = 0;
        std::atomic<int> reads{0}; ///< newest() calls
        std::atomic<int> alive{0}; ///< sources made and not yet destroyed
    };
    /// script must outlive the source.
    explicit FakeRecordSource(Script& script) : script_(script) { ++script_.alive; }
    ~FakeRecordSource() override { --script_.alive; }

    QString problem() const override { return script_.problem; }
    void takeInChanges() override {}
    std::vector<EventRecord> newest(std::int64_t count, const StopSignal& stop) override;
    WaitOutcome waitForChange(const StopSignal& stop) override;

    /// A maker that hands out fakes playing script.
    static RecordSourceMaker maker(Script& script);

private:
    Script& script_;
};

} // namespace ombrel::test
