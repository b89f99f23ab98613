#pragma once

#include "tail/FileStatus.h"

#include <optional>

namespace ombrel {

/// Decides whether a watched file changed since it was last seen, by size and by modification
/// time at full resolution, so two writes within one second are both seen.
class FileChangeDetector {
public:
    /// True when current is known and differs from the status last seen; it is then the
    /// status last seen. An unknown status (file deleted or being rotated) is no change.
    bool changed(const std::optional<FileStatus>& current);
    /// Records what a read saw: the opened file's status, or the status by path (or nothing)
    /// when it could not be opened, so that something unreadable is announced only once.
    void remember(const std::optional<FileStatus>& seen) { lastSeen_ = seen; }
    /// The status last seen, if any.
    const std::optional<FileStatus>& lastSeen() const { return lastSeen_; }

private:
    std::optional<FileStatus> lastSeen_;
};

} // namespace ombrel
