#pragma once

#include "display/LogText.h"
#include "display/RegexScanner.h"
#include "display/UpdateGeneration.h"

#include <cstdint>
#include <optional>

namespace ombrel {

/// One match found by the find bar.
struct FoundMatch {
    std::int64_t start = 0; ///< first character
    std::int64_t end = 0;   ///< one past the last
    bool wrapped = false;   ///< the search went past an end of the text to find it
    friend bool operator==(const FoundMatch&, const FoundMatch&) = default;
};

/// How many matches a text holds.
struct MatchCount {
    std::int64_t total = 0;        ///< every match
    std::int64_t before = 0;       ///< matches that start before the position asked about
    bool atPosition = false;       ///< a match starts at that position
    std::int64_t limitedLines = 0; ///< lines given up at the match limit
};

/// The find bar's searches, on a worker thread: the next or previous match from a position,
/// wrapping around the text, and the count of all matches. Each returns nothing when
/// isStale said the work is no longer wanted.
class TextFinder {
public:
    /// The search result: a match, or none in the whole text.
    using Found = std::optional<FoundMatch>;

    /// The first match starting at or after from, else the first from the top (wrapped).
    static std::optional<Found> next(RegexScanner& scanner, const LogText& text, std::int64_t from,
                                     const StaleCheck& isStale = {});
    /// The last match starting before from, else the last of the text (wrapped).
    static std::optional<Found> previous(RegexScanner& scanner, const LogText& text,
                                         std::int64_t from, const StaleCheck& isStale = {});
    /// Counts every match, and those that start before position.
    static std::optional<MatchCount> count(RegexScanner& scanner, const LogText& text,
                                           std::int64_t position, const StaleCheck& isStale = {});
};

} // namespace ombrel
