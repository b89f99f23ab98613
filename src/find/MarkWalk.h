#pragma once

#include "display/DisplayModel.h"

#include <cstdint>
#include <optional>

namespace ombrel {

/// One keyword mark as a user sees it: neighbouring runs that touch (one occurrence grown to
/// several sizes) make one mark.
struct MarkSpan {
    std::int64_t start = 0; ///< first marked character
    std::int64_t end = 0;   ///< one past the last
    friend bool operator==(const MarkSpan&, const MarkSpan&) = default;
};

/// Walks through the keyword marks of a model, wrapping at its ends; a binary search, so a step
/// costs the same for any number of marks.
class MarkWalk {
public:
    /// The first mark that starts at or after position, else the first of all.
    static std::optional<MarkSpan> next(const DisplayModel& model, std::int64_t position);
    /// The last mark that starts before position, else the last of all.
    static std::optional<MarkSpan> previous(const DisplayModel& model, std::int64_t position);
};

} // namespace ombrel
