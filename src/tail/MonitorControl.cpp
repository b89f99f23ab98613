#include "tail/MonitorControl.h"

#include "settings/DecimalNumber.h"

#include <algorithm>

namespace ombrel {

namespace {
bool isBlankLed(const QString& name) {
    return name.isEmpty() || name.front() == u' ' || name.front() == u'\t';
}
} // namespace

std::int32_t boundedCheckInterval(std::int32_t seconds) {
    return std::clamp(seconds, shortestCheckInterval, longestCheckInterval);
}

std::int32_t boundedDisplayCount(std::int32_t count) {
    return std::max(count, 0);
}

MonitorControl::MonitorControl(const MonitorFileSystem& fileSystem,
                               const MonitorInitialValues& initial)
    : fileSystem_(fileSystem), sourceText_(initial.sourceText),
      checkInterval_(boundedCheckInterval(initial.checkInterval)),
      byteCount_(boundedDisplayCount(initial.byteCount)), reloadValue_(checkInterval_ - 1),
      countdown_(reloadValue_) {}

StartOutcome MonitorControl::start(const StartRequest& request) {
    sourceText_ = request.sourceText;
    checkInterval_ = boundedCheckInterval(decimalOrZero(request.intervalText));
    byteCount_ = boundedDisplayCount(decimalOrZero(request.countText));

    if (request.eventLog != EventLogChoice::None) {
        filePath_ = sourceText_;
        eventLog_ = request.eventLog;
        running_ = true;
        eventLogMode_ = true;
        animating_ = false;
        return StartOutcome::WatchingEventLog;
    }
    if (isBlankLed(sourceText_)) {
        return StartOutcome::BlankName;
    }
    const PathKind kind = fileSystem_.kind(sourceText_);
    if (kind == PathKind::Missing) {
        return StartOutcome::MissingFile;
    }
    filePath_ = sourceText_;
    running_ = true;
    eventLogMode_ = false;
    // The countdown fires at 0, one tick after it reads 1: N seconds apart take N - 1.
    reloadValue_ = checkInterval_ - 1;
    countdown_ = reloadValue_;
    animating_ = false;
    watchFrom(filePath_);
    return kind == PathKind::Watchable ? StartOutcome::WatchingFile
                                       : StartOutcome::WatchingNotAFile;
}

void MonitorControl::pause() {
    animating_ = false;
    running_ = false;
}

void MonitorControl::watchDroppedFile(const QString& path) {
    sourceText_ = path;
    filePath_ = path;
    running_ = true;
    eventLogMode_ = false;
    watchFrom(path);
}

void MonitorControl::watchFrom(const QString& path) {
    // The read that follows shows the file as it is now: a check before that read ends must
    // not take the same file for a change.
    detector_.remember(fileSystem_.status(path));
    readFailed_ = false;
}

TickAction MonitorControl::tick() {
    if (!running_) {
        return TickAction::None;
    }
    if (eventLogMode_) {
        if (animating_) {
            animating_ = false;
            return TickAction::StopAnimation;
        }
        return TickAction::None;
    }
    if (countdown_ > 0) {
        --countdown_;
        return TickAction::None;
    }
    countdown_ = reloadValue_;
    if (detector_.changed(fileSystem_.status(filePath_))) {
        animating_ = true;
        return TickAction::ReadAndNotify;
    }
    if (readFailed_) {
        animating_ = false;
        return TickAction::RetryRead;
    }
    if (animating_) {
        animating_ = false;
        return TickAction::StopAnimation;
    }
    return TickAction::None;
}

TailSnapshot MonitorControl::readTail() const {
    return fileSystem_.read(filePath_, byteCount_, {.head = headMode_});
}

void MonitorControl::recordRead(const TailSnapshot& snapshot, bool newerReadFollows) {
    if (snapshot.opened) {
        lastStat_ = snapshot.status();
    }
    if (newerReadFollows) {
        return; // an older read must not make the change that asked for the newer one look new
    }
    readFailed_ = !snapshot.opened;
    // Whatever stands there now (or nothing) is not announced again until it changes; a
    // failed read is retried quietly instead.
    detector_.remember(snapshot.opened ? std::optional<FileStatus>(lastStat_)
                                       : fileSystem_.status(filePath_));
}

} // namespace ombrel
