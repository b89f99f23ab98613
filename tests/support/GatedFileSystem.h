#pragma once

#include "tail/MonitorFileSystem.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>

namespace ombrel::test {

/// The real file system, counting its uses, whose reads wait while the gate is closed (so a
/// test can hold an update in flight), find the file unreadable, or fail for want of memory,
/// when told to.
class GatedFileSystem final : public MonitorFileSystem {
public:
    /// Reads begun from now on wait until open().
    void close() {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    /// Lets every waiting read go on.
    void open() {
        {
            const std::lock_guard lock(mutex_);
            closed_ = false;
        }
        opened_.notify_all();
    }
    /// Reads begun so far.
    int reads() const { return reads_.load(); }
    /// Status look-ups so far.
    int statuses() const { return statuses_.load(); }
    /// While set, reads throw std::bad_alloc as a read too large to hold would.
    std::atomic<bool> outOfMemory{false};
    /// While set, reads fail as for a file without read permission.
    std::atomic<bool> unreadable{false};

    PathKind kind(const QString& path) const override { return disk_.kind(path); }
    std::optional<FileStatus> status(const QString& path) const override {
        ++statuses_;
        return disk_.status(path);
    }
    TailSnapshot read(const QString& path, std::int64_t byteCount,
                      const TailReadOptions& options) const override {
        ++reads_;
        std::unique_lock lock(mutex_);
        opened_.wait(lock, [this] { return !closed_; });
        lock.unlock();
        if (outOfMemory) {
            throw std::bad_alloc();
        }
        if (unreadable) {
            TailSnapshot denied;
            denied.failure = QStringLiteral("Permission denied");
            return denied;
        }
        return disk_.read(path, byteCount, options);
    }

private:
    LocalFileSystem disk_;
    mutable std::mutex mutex_;
    mutable std::condition_variable opened_;
    bool closed_ = false;
    mutable std::atomic<int> reads_{0};
    mutable std::atomic<int> statuses_{0};
};

} // namespace ombrel::test
