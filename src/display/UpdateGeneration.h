#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

namespace ombrel {

/// Asked between the steps of a long computation: true when its result is no longer wanted.
using StaleCheck = std::function<bool()>;

/// Numbers the display updates so that work started for an older text can be recognised and
/// dropped: each update takes a new number, and only the newest number is current.
class UpdateGeneration {
public:
    /// Starts a new update and returns its number; every earlier number stops being current.
    std::uint64_t advance() { return ++newest_; }
    /// The number of the newest update (0 before the first).
    std::uint64_t newest() const { return newest_.load(); }
    /// True while no update newer than generation has started.
    bool isCurrent(std::uint64_t generation) const { return newest_.load() == generation; }
    /// A check for a worker: stale as soon as an update newer than generation starts. The
    /// check refers to this object, which must outlive it.
    StaleCheck staleCheck(std::uint64_t generation) const {
        return [this, generation] { return !isCurrent(generation); };
    }

private:
    std::atomic<std::uint64_t> newest_{0};
};

} // namespace ombrel
