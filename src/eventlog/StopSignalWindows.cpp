// The stop signal on Windows: a manual-reset event, waited on together with the worker's own
// event by WaitForMultipleObjects.
#include "eventlog/StopSignal.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <windows.h>

namespace ombrel {

namespace {
constexpr int fallbackSliceMs = 50;
}

StopSignal::StopSignal() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

StopSignal::~StopSignal() {
    if (event_) {
        CloseHandle(event_);
    }
}

void StopSignal::raise() {
    raised_.store(true, std::memory_order_release);
    if (event_) {
        SetEvent(event_);
    }
}

WaitOutcome StopSignal::waitFor(void* event, int timeoutMs) const {
    using Clock = std::chrono::steady_clock;
    HANDLE handles[2];
    DWORD count = 0;
    if (event_) {
        handles[count++] = event_;
    }
    if (event) {
        handles[count++] = event;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        if (raised()) {
            return {WaitOutcome::Kind::Stopped};
        }
        std::int64_t wait = timeoutMs;
        if (timeoutMs >= 0) {
            wait = std::max<std::int64_t>(
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
                    .count(),
                0);
        }
        if (!event_ && (wait < 0 || wait > fallbackSliceMs)) {
            wait = fallbackSliceMs; // no stop event: look at raised_ now and then
        }
        const DWORD waitMs = wait < 0 ? INFINITE : static_cast<DWORD>(wait);
        const DWORD result = count == 0 ? (Sleep(waitMs), WAIT_TIMEOUT)
                                        : WaitForMultipleObjects(count, handles, FALSE, waitMs);
        if (result == WAIT_FAILED) {
            return {WaitOutcome::Kind::Failed, static_cast<int>(GetLastError())};
        }
        if (raised()) {
            return {WaitOutcome::Kind::Stopped};
        }
        if (result >= WAIT_ABANDONED_0 && result < WAIT_ABANDONED_0 + count) {
            return {WaitOutcome::Kind::Failed, ERROR_ABANDONED_WAIT_0};
        }
        if (result != WAIT_TIMEOUT) {
            return {WaitOutcome::Kind::Ready}; // the stop event is only set once raised
        }
        if (timeoutMs >= 0 && Clock::now() >= deadline) {
            return {WaitOutcome::Kind::Ready};
        }
    }
}

} // namespace ombrel
