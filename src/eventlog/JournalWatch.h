#pragma once

#include "eventlog/EventLogWorker.h"
#include "eventlog/RecordSource.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

namespace ombrel {

/// What a journal watch reads.
struct JournalWatchOptions {
    JournalSourceOptions source; ///< which journal
    std::int64_t count = 0;      ///< entries to show
};

/// The journal watch of the window's Start, on the window's thread: runs one EventLogWorker at
/// a time and hands its reports over as signals on this object's thread, dropping whatever a
/// worker reported before it was stopped.
class JournalWatch : public QObject {
    Q_OBJECT
public:
    /// makeSource opens each watch's journal on its worker; empty: the system event log
    /// (openSystemEventLog).
    explicit JournalWatch(RecordSourceMaker makeSource = {}, QObject* parent = nullptr);
    /// Stops any worker.
    ~JournalWatch() override;

    /// Stops any earlier worker, then starts a new one; its first read comes at once.
    void start(const JournalWatchOptions& options);
    /// Stops and joins the worker, if any; nothing it reported shows after this. True when a
    /// worker was running.
    bool stop();
    /// A worker runs (or has ended on a failed wait and was not stopped yet).
    bool watching() const { return worker_ != nullptr; }

Q_SIGNALS:
    /// The newest entries as text blocks, oldest first.
    void textReady(const QString& text);
    /// Why the journal shows nothing although it may hold entries; empty when nothing is wrong.
    /// Comes with the first read, then with each change.
    void problemFound(const QString& problem);
    /// The worker's wait failed with errno error; the worker has ended.
    void waitFailed(int error);

private:
    /// Runs report on this object's thread unless the worker of run has been stopped by then.
    void deliver(std::uint64_t run, std::function<void()> report);

    RecordSourceMaker makeSource_;
    std::unique_ptr<EventLogWorker> worker_;
    std::uint64_t run_ = 0; // number of the current worker; window thread only
};

} // namespace ombrel
