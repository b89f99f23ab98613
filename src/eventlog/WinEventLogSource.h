#pragma once

#include "eventlog/EventLogRecord.h"
#include "eventlog/RecordSource.h"

#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

namespace ombrel {

/// A Windows event log as a source of records, read through the event-log functions of
/// advapi32: System, or Application for JournalKind::CurrentUser, on this machine, narrowed to
/// some computers. Each record's text is its source's message (FormatMessageW from the
/// source's message files) with its insertion strings; without one, the insertion strings.
class WinEventLogSource final : public RecordSource {
public:
    /// Opens the log and asks to be told of its changes at once, so none after the opening is
    /// missed. A log that cannot be opened reads as empty, tells why, and never changes.
    explicit WinEventLogSource(const JournalSourceOptions& options);
    ~WinEventLogSource() override;
    WinEventLogSource(const WinEventLogSource&) = delete;
    WinEventLogSource& operator=(const WinEventLogSource&) = delete;

    QString problem() const override;
    /// Nothing to do: the change event resets itself when a wait ends.
    void takeInChanges() override {}
    /// Reads backwards from the newest record (ReadEventLogW) until count are found.
    std::vector<EventRecord> newest(std::int64_t count, const StopSignal& stop) override;
    /// Waits for the change event (NotifyChangeEventLog) together with stop.
    WaitOutcome waitForChange(const StopSignal& stop) override;
    /// The distinct computer names in the whole log, sorted.
    QStringList hostNames();

    /// The log's name as Windows knows it: "System" or "Application".
    static QString logName(JournalKind kind);

private:
    struct Handles;
    // Reads the log backwards, giving each record to take until it returns false.
    template <class Take> void readBackwards(const StopSignal* stop, Take take);
    QString messageOf(const EventLogRecordFields& record);
    const std::vector<void*>& messageFiles(const QString& source);

    QString log_;
    QStringList hosts_;
    std::unique_ptr<Handles> handles_;
    QString openProblem_;                                // the log cannot be opened or watched
    QString readProblem_;                                // the last read failed
    std::map<QString, std::vector<void*>> messageFiles_; // loaded as data, by event source
};

} // namespace ombrel
