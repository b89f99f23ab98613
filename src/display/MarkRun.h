#pragma once

#include <cstdint>
#include <vector>

namespace ombrel {

/// A stretch of the display marked as a keyword: bold with a dotted underline, and sizeSteps
/// times markGrowthPoints larger than the display's own size.
struct MarkRun {
    /// Points a mark grows by each time an occurrence of one size is marked again.
    static constexpr double markGrowthPoints = 1.2;

    std::int64_t start = 0;  ///< display position of the first marked character
    std::int64_t length = 0; ///< marked characters
    int sizeSteps = 0;       ///< times the characters grew by markGrowthPoints

    /// One past the last marked character.
    std::int64_t end() const { return start + length; }
    friend bool operator==(const MarkRun&, const MarkRun&) = default;
};

/// Runs sorted by start, never overlapping; neighbours that touch differ in size.
using MarkRuns = std::vector<MarkRun>;

} // namespace ombrel
