#include "eventlog/JournalWatch.h"

#include "eventlog/SystemEventLog.h"

#include <QMetaObject>

namespace ombrel {

JournalWatch::JournalWatch(RecordSourceMaker makeSource, QObject* parent)
    : QObject(parent), makeSource_(std::move(makeSource)) {
    if (!makeSource_) {
        makeSource_ = openSystemEventLog;
    }
}

JournalWatch::~JournalWatch() {
    stop();
}

void JournalWatch::start(const JournalWatchOptions& options) {
    stop();
    const std::uint64_t run = ++run_;
    EventLogWorkerReports reports;
    reports.text = [this, run](const QString& text) {
        deliver(run, [this, text] { Q_EMIT textReady(text); });
    };
    reports.problem = [this, run](const QString& problem) {
        deliver(run, [this, problem] { Q_EMIT problemFound(problem); });
    };
    reports.waitFailed = [this, run](int error) {
        deliver(run, [this, error] { Q_EMIT waitFailed(error); });
    };
    worker_ = std::make_unique<EventLogWorker>(
        EventLogWorkerSetup{makeSource_, options.source, options.count}, std::move(reports));
}

bool JournalWatch::stop() {
    ++run_; // reports already on their way are dropped
    if (!worker_) {
        return false;
    }
    worker_.reset(); // joins: the worker never waits for this thread, so this cannot hang
    return true;
}

void JournalWatch::deliver(std::uint64_t run, std::function<void()> report) {
    // Posted with this object as context: a report still queued when it dies is discarded.
    QMetaObject::invokeMethod(
        this,
        [this, run, report = std::move(report)] {
            if (run == run_) {
                report();
            }
        },
        Qt::QueuedConnection);
}

} // namespace ombrel
