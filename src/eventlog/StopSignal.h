#pragma once

#include <atomic>
#include <span>

namespace ombrel {

/// Why a wait ended.
struct WaitOutcome {
    enum class Kind {
        Ready,   ///< the descriptor has events, or the time-out passed
        Stopped, ///< the stop signal was raised
        Failed   ///< the wait itself failed; error tells why
    };
    Kind kind = Kind::Ready;
    int error = 0; ///< errno of a failed wait (Windows: GetLastError)
};

#ifndef _WIN32
/// A descriptor to wait on and the poll events to wait for.
struct WaitTarget {
    int fd = -1; ///< negative: none
    short events = 0;
};
#endif

/// A stop request that a worker can wait on together with its own descriptor: raised once from
/// any thread, seen at once by a waiting worker and cheaply by a busy one.
class StopSignal {
public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    /// Raises the signal; it stays raised.
    void raise();
    /// True once raised.
    bool raised() const { return raised_.load(std::memory_order_acquire); }
#ifdef _WIN32
    /// Waits until event (a Win32 waitable handle; null: none) is signalled, the signal is
    /// raised or timeoutMs passed (negative: no limit). A handle that cannot be waited on
    /// fails the wait.
    WaitOutcome waitFor(void* event, int timeoutMs) const;
    /// Sleeps timeoutMs unless raised before; true when raised.
    bool sleepFor(int timeoutMs) const {
        return waitFor(nullptr, timeoutMs).kind != WaitOutcome::Kind::Ready;
    }
#else
    /// Waits until fd has one of events, the signal is raised or timeoutMs passed (negative:
    /// no limit). A negative fd waits for the signal and the time-out only. An fd that poll
    /// reports as broken fails the wait (EBADF for an invalid one, EIO for an error).
    WaitOutcome waitFor(int fd, short events, int timeoutMs) const {
        const WaitTarget target{fd, events};
        return waitFor(std::span(&target, 1), timeoutMs);
    }
    /// Waits as above until any of targets has one of its events.
    WaitOutcome waitFor(std::span<const WaitTarget> targets, int timeoutMs) const;
    /// Sleeps timeoutMs unless raised before; true when raised.
    bool sleepFor(int timeoutMs) const {
        return waitFor(-1, 0, timeoutMs).kind != WaitOutcome::Kind::Ready;
    }
#endif

private:
    std::atomic<bool> raised_{false};
#ifdef _WIN32
    void* event_ = nullptr; // a manual-reset event, or null when none could be made
#else
    int eventFd_ = -1; // -1 when none could be made: waits then look at raised_ every 50 ms
#endif
};

} // namespace ombrel
