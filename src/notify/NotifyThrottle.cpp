#include "notify/NotifyThrottle.h"

namespace ombrel {

std::optional<std::int64_t> NotifyThrottle::offer(const QString& source, std::int64_t nowMs) {
    const auto [it, fresh] = sources_.try_emplace(source, Source{nowMs, 0});
    Source& state = it->second;
    if (fresh || nowMs - state.periodStart >= periodMs_) {
        const std::int64_t earlier = state.held;
        state = {nowMs, 0};
        return earlier;
    }
    ++state.held;
    return std::nullopt;
}

std::optional<std::int64_t> NotifyThrottle::nextDue() const {
    std::optional<std::int64_t> due;
    for (const auto& [name, source] : sources_) {
        if (source.held > 0 && (!due || source.periodStart + periodMs_ < *due)) {
            due = source.periodStart + periodMs_;
        }
    }
    return due;
}

std::vector<NotifyThrottle::Held> NotifyThrottle::takeDue(std::int64_t nowMs) {
    std::vector<Held> due;
    for (auto it = sources_.begin(); it != sources_.end();) {
        Source& source = it->second;
        if (nowMs - source.periodStart < periodMs_) {
            ++it;
        } else if (source.held > 0) {
            due.push_back({it->first, source.held});
            source = {nowMs, 0};
            ++it;
        } else {
            it = sources_.erase(it); // quiet for a whole period: forgotten
        }
    }
    return due;
}

} // namespace ombrel
