#include "app/UpdatePipeline.h"

#include "display/KeywordPass.h"
#include "tail/MonitorFileSystem.h"
#include "tail/TailTextDecoder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>
#include <new>
#include <utility>

namespace ombrel {

namespace {

// What is left of an update whose text could not be held: a read that failed, so it is told
// and tried again at the next check, and no text.
DisplayUpdate emptied(DisplayUpdate update) {
    update.snapshot = TailSnapshot();
    update.snapshot.failure = QStringLiteral("Not enough memory");
    update.model = std::make_shared<const DisplayModel>();
    update.marked = std::make_shared<const MarkedLines>();
    update.lines = 1;
    return update;
}

} // namespace

UpdatePipeline::UpdatePipeline(const MonitorFileSystem& fileSystem, QObject* parent)
    : QObject(parent), fileSystem_(fileSystem) {
    qRegisterMetaType<ombrel::DisplayUpdate>("ombrel::DisplayUpdate");
    // Two threads: a new session need not wait while a cancelled update notices it is stale.
    pool_.setMaxThreadCount(2);
}

UpdatePipeline::~UpdatePipeline() {
    cancel();
    pool_.waitForDone();
}

std::optional<DisplayUpdate> UpdatePipeline::compute(const MonitorFileSystem& fileSystem,
                                                     const UpdateRequest& request,
                                                     std::uint64_t generation,
                                                     const StaleCheck& isStale) {
    DisplayUpdate update;
    update.generation = generation;
    update.retry = request.retry;
    update.change = request.change;
    try {
        LogText text;
        if (request.text) {
            text = *request.text;
            update.fileRead = false;
        } else {
            update.snapshot = fileSystem.read(request.path, request.byteCount, request.readOptions);
            TailSnapshot& read = update.snapshot;
            QString wideUnits;
            if (TailTextDecoder::toNarrow(read.bytes, wideUnits, read.offset, read.fileStart)) {
                // Most logs: the bytes become the text in place, one byte a character.
                text = LogText::fromNarrow(std::exchange(read.bytes, QByteArray()),
                                           std::move(wideUnits));
            } else {
                text = TailTextDecoder::displayText(read); // takes the bytes too
            }
        }
        if (isStale && isStale()) {
            return std::nullopt;
        }
        PassInput input{std::move(text), request.keywords, request.keywordFlags, generation};
        std::optional<PassResult> pass = KeywordPass::run(input, isStale);
        input.text = LogText(); // the model then owns the only copy and rewrites it in place
        if (!pass) {
            return std::nullopt;
        }
        update.lines = pass->linesBeforeFiltering;
        update.keywordProblems = std::move(pass->keywordProblems);
        update.model = DisplayModel::fromPass(std::move(*pass));
        update.marked = std::make_shared<const MarkedLines>(MarkedLines::of(*update.model));
    } catch (const std::bad_alloc&) {
        return emptied(std::move(update));
    }
    return update;
}

void UpdatePipeline::request(UpdateRequest request) {
    if (running_) {
        // A quiet retry never hides a real change that was waiting.
        request.retry = request.retry && (!waiting_ || waiting_->retry);
        request.change = request.change || (waiting_ && waiting_->change);
        waiting_ = std::move(request);
        return;
    }
    launch(std::move(request));
}

void UpdatePipeline::cancel() {
    generation_.advance();
    running_ = false;
    waiting_.reset();
}

void UpdatePipeline::launch(UpdateRequest request) {
    running_ = true;
    const std::uint64_t generation = generation_.newest();
    pool_.start([this, request = std::move(request), generation] {
        const StaleCheck isStale = generation_.staleCheck(generation);
        std::optional<DisplayUpdate> update;
        // No exception may leave a pool task; the window must hear of the end in any case.
        try {
            update = compute(fileSystem_, request, generation, isStale);
        } catch (...) {
            update.reset();
        }
        QMetaObject::invokeMethod(
            this,
            [this, generation, update = std::move(update)]() mutable {
                finish(generation, std::move(update));
            },
            Qt::QueuedConnection);
    });
}

void UpdatePipeline::finish(std::uint64_t generation, std::optional<DisplayUpdate> update) {
    if (!generation_.isCurrent(generation)) {
        if (update) {
            releaseOffThread(std::move(update->model));
        }
        return; // cancelled: its session is over
    }
    running_ = false;
    if (waiting_) {
        // Start the follow-up first, so it reads while this result is being shown.
        UpdateRequest next = std::move(*waiting_);
        waiting_.reset();
        launch(std::move(next));
    }
    if (update && update->model) {
        Q_EMIT updateReady(*update);
    }
    if (update) {
        releaseOffThread(std::move(update->model));
    }
}

bool UpdatePipeline::waitForIdle(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (busy()) {
        if (!pool_.waitForDone(static_cast<int>(deadline.remainingTime()))) {
            return false;
        }
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
    return true;
}

} // namespace ombrel
