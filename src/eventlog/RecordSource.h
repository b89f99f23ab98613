#pragma once

#include "eventlog/EventRecord.h"
#include "eventlog/StopSignal.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace ombrel {

/// An event log as the event-log worker reads it: its newest records and a wait for changes.
/// Made, used and destroyed on one worker thread.
class RecordSource {
public:
    virtual ~RecordSource() = default;

    /// Why the log shows nothing though it may hold records (it cannot be opened, none of its
    /// files can be read); empty when it could be read. May change with takeInChanges.
    virtual QString problem() const = 0;
    /// Takes in the changes announced so far. Called before each read, so that a change made
    /// during the read is announced again and read next time.
    virtual void takeInChanges() = 0;
    /// The newest min(count, total) records, oldest first; none for count <= 0. Returns early
    /// with what it has when stop is raised.
    virtual std::vector<EventRecord> newest(std::int64_t count, const StopSignal& stop) = 0;
    /// Lets go of what the last read kept open, once its records are passed on: closing many
    /// files takes a while that need not delay them.
    virtual void afterRead() {}
    /// Blocks until the log may have changed (Ready), stop is raised, or the wait fails.
    virtual WaitOutcome waitForChange(const StopSignal& stop) = 0;
};

/// Which journal a source reads.
enum class JournalKind {
    System,     ///< the system journal
    CurrentUser ///< the journal of the user running the program
};

/// What a source opens: the machine's journal, or the journal files in one folder.
struct JournalSourceOptions {
    JournalKind kind = JournalKind::System; ///< which of the journals
    QString directory;                      ///< folder of journal files; empty: the machine's
    QStringList hosts; ///< only the entries of these computers (_HOSTNAME); empty: all
};

/// Makes the source of a watch, on the worker thread that will use it.
using RecordSourceMaker =
    std::function<std::unique_ptr<RecordSource>(const JournalSourceOptions& options)>;

} // namespace ombrel
