#include "eventlog/StopSignal.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace ombrel {

namespace {
constexpr int fallbackSliceMs = 50;
}

StopSignal::StopSignal() : eventFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

StopSignal::~StopSignal() {
    if (eventFd_ >= 0) {
        ::close(eventFd_);
    }
}

void StopSignal::raise() {
    raised_.store(true, std::memory_order_release);
    if (eventFd_ >= 0) {
        const std::uint64_t one = 1;
        // The counter only grows while raised; a full counter still wakes every waiter.
        [[maybe_unused]] const ssize_t written = ::write(eventFd_, &one, sizeof one);
    }
}

WaitOutcome StopSignal::waitFor(std::span<const WaitTarget> targets, int timeoutMs) const {
    using Clock = std::chrono::steady_clock;
    std::vector<pollfd> fds{{eventFd_, POLLIN, 0}};
    for (const WaitTarget& target : targets) {
        fds.push_back({target.fd, target.events, 0});
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        if (raised()) {
            return {WaitOutcome::Kind::Stopped};
        }
        int wait = timeoutMs;
        if (timeoutMs >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            wait = static_cast<int>(std::max<std::int64_t>(left.count(), 0));
        }
        if (eventFd_ < 0 && (wait < 0 || wait > fallbackSliceMs)) {
            wait = fallbackSliceMs;
        }
        for (pollfd& polled : fds) {
            polled.revents = 0;
        }
        const int ready = ::poll(fds.data(), fds.size(), wait);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return {WaitOutcome::Kind::Failed, errno};
        }
        if (raised()) {
            return {WaitOutcome::Kind::Stopped};
        }
        bool changed = false;
        for (std::size_t i = 1; i < fds.size(); ++i) {
            if (fds[i].revents & POLLNVAL) {
                return {WaitOutcome::Kind::Failed, EBADF};
            }
            if (fds[i].revents & POLLERR) {
                return {WaitOutcome::Kind::Failed, EIO};
            }
            changed = changed || fds[i].revents != 0;
        }
        if (changed) {
            return {WaitOutcome::Kind::Ready};
        }
        if (timeoutMs >= 0 && Clock::now() >= deadline) {
            return {WaitOutcome::Kind::Ready};
        }
    }
}

} // namespace ombrel
