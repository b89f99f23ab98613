#include "eventlog/StopSignal.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

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

WaitOutcome StopSignal::waitFor(int fd, short events, int timeoutMs) const {
    using Clock = std::chrono::steady_clock;
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
        pollfd fds[2] = {{eventFd_, POLLIN, 0}, {fd, events, 0}};
        const int ready = ::poll(fds, 2, wait);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return {WaitOutcome::Kind::Failed, errno};
        }
        if (raised()) {
            return {WaitOutcome::Kind::Stopped};
        }
        if (fds[1].revents & POLLNVAL) {
            return {WaitOutcome::Kind::Failed, EBADF};
        }
        if (fds[1].revents & POLLERR) {
            return {WaitOutcome::Kind::Failed, EIO};
        }
        if (fds[1].revents != 0) {
            return {WaitOutcome::Kind::Ready};
        }
        if (timeoutMs >= 0 && Clock::now() >= deadline) {
            return {WaitOutcome::Kind::Ready};
        }
    }
}

} // namespace ombrel
