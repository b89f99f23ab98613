#pragma once

#include "display/KeywordMatcher.h"
#include "display/MarkRun.h"
#include "display/UpdateGeneration.h"

#include <optional>
#include <vector>

namespace ombrel {

/// Turns keyword occurrences into the marks the display shows. Occurrences are marked one
/// after another, keyword by keyword in list order: every character of an occurrence becomes
/// marked, and the occurrence grows by one size step when all its characters had one size at
/// that moment. So a keyword listed twice ends two steps larger, a keyword inside another
/// enlarges its letters again, and one that partly overlaps a mark keeps the mixed sizes.
class MarkBuilder {
public:
    /// The marks of occurrences (one entry per keyword, list order; starts ascending);
    /// nothing when isStale said the work is not wanted.
    static std::optional<MarkRuns> build(const std::vector<KeywordOccurrences>& occurrences,
                                         const StaleCheck& isStale = {});
};

} // namespace ombrel
