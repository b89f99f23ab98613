#include "eventlog/EventLogWorker.h"

#include "eventlog/EventBlock.h"

#include <chrono>
#include <new>

namespace ombrel {

EventLogWorker::EventLogWorker(EventLogWorkerSetup setup, EventLogWorkerReports reports)
    : setup_(std::move(setup)), reports_(std::move(reports)), thread_([this] { run(); }) {}

EventLogWorker::~EventLogWorker() {
    stop();
}

void EventLogWorker::stop() {
    stop_.raise();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void EventLogWorker::run() {
    using Clock = std::chrono::steady_clock;
    const std::unique_ptr<RecordSource> source = setup_.makeSource(setup_.source);
    if (!source) {
        return;
    }
    const auto minInterval = std::chrono::milliseconds(setup_.minReadIntervalMs);
    QString shown;
    QString problem;   // as last reported
    bool first = true; // the first read is made at once and always shown
    Clock::time_point lastRead;
    for (;;) {
        if (!first) {
            const WaitOutcome outcome = source->waitForChange(stop_);
            if (outcome.kind == WaitOutcome::Kind::Stopped) {
                return;
            }
            if (outcome.kind == WaitOutcome::Kind::Failed) {
                reports_.waitFailed(outcome.error);
                return;
            }
            // A busy log is read at most once per interval; what arrives meanwhile is read
            // with the next read, which always ends on the newest record.
            const auto since = Clock::now() - lastRead;
            if (since < minInterval &&
                stop_.sleepFor(static_cast<int>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(minInterval - since)
                        .count()))) {
                return;
            }
        }
        source->takeInChanges(); // before reading: a change during the read wakes the next wait
        lastRead = Clock::now();
        QString text;
        try {
            text = eventBlocks(source->newest(setup_.count, stop_));
        } catch (const std::bad_alloc&) {
            source->afterRead();
            problem = QStringLiteral("Not enough memory to read %1 entries").arg(setup_.count);
            reports_.problem(problem);
            first = false;
            continue;
        }
        if (stop_.raised()) {
            return;
        }
        // Told at the first read, also when there is none (an earlier watch's may still show),
        // and at each change after: files that were missing may appear at any time.
        if (QString now = source->problem(); first || now != problem) {
            reports_.problem(now);
            problem = std::move(now);
        }
        // A wake that changed nothing shown (a rotated or vacuumed file) is not announced.
        if (first || text != shown) {
            reports_.text(text);
            shown = std::move(text);
        }
        source->afterRead();
        first = false;
    }
}

} // namespace ombrel
