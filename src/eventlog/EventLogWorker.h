#pragma once

#include "eventlog/RecordSource.h"
#include "eventlog/StopSignal.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <thread>

namespace ombrel {

/// What one event-log worker watches and how often it may read.
struct EventLogWorkerSetup {
    RecordSourceMaker makeSource; ///< called once, on the worker's thread
    JournalSourceOptions source;  ///< handed to makeSource
    std::int64_t count = 0;       ///< records to show; <= 0 shows none
    int minReadIntervalMs = 250;  ///< a busy log is read at most once per this time
};

/// What a worker reports, each called on the worker's thread.
struct EventLogWorkerReports {
    /// The source's problem (empty: none) at the first read, then at each read that changed it.
    std::function<void(const QString& problem)> problem;
    std::function<void(const QString& text)> text; ///< the first read, then each changed text
    std::function<void(int error)> waitFailed;     ///< the wait failed (errno); the worker ends
};

/// One watch of an event log on its own thread: reads the newest records at once, then waits
/// for a change of the log or for stop, takes in the change, reads and formats again.
class EventLogWorker {
public:
    /// Starts the thread.
    EventLogWorker(EventLogWorkerSetup setup, EventLogWorkerReports reports);
    /// Stops and joins.
    ~EventLogWorker();
    EventLogWorker(const EventLogWorker&) = delete;
    EventLogWorker& operator=(const EventLogWorker&) = delete;

    /// Raises the stop signal and waits for the thread to end; no report comes after it.
    /// A read under way stops early.
    void stop();

private:
    void run();

    EventLogWorkerSetup setup_;
    EventLogWorkerReports reports_;
    StopSignal stop_;
    std::thread thread_;
};

} // namespace ombrel
