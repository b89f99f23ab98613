#pragma once

#include "display/LogText.h"
#include "display/RegexPattern.h"
#include "display/UpdateGeneration.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>

namespace ombrel {

/// What one scan came to.
struct ScanOutcome {
    bool stopped = false;          ///< the receiver or the stale check ended it early
    std::int64_t limitedLines = 0; ///< lines given up at the match limit
};

/// Finds the matches of a pattern in a display text as grep does: each line on its own (its
/// start and end are ^ and $, no match holds a line end), matches that do not overlap, and
/// none of no characters. Narrow text is searched in place with the 8-bit form; only lines
/// holding characters above U+00FF (or every line, for a pattern that needs such characters)
/// are copied to UTF-16. Lines without a unit the pattern requires are skipped unseen. One
/// scanner per thread; the pattern may be shared.
class RegexScanner {
public:
    /// Gets each match [start, end); returns false to stop the scan.
    using Receiver = std::function<bool(std::int64_t start, std::int64_t end)>;

    /// Prepares matching of pattern (not null), each attempt stopped after matchLimit steps.
    explicit RegexScanner(std::shared_ptr<const RegexPattern> pattern,
                          std::uint32_t matchLimit = RegexPattern::defaultMatchLimit);
    ~RegexScanner();
    RegexScanner(const RegexScanner&) = delete;
    RegexScanner& operator=(const RegexScanner&) = delete;

    /// Reports, in order, the matches that start in [from, to) (the line around from is matched
    /// from from on). After maxLimitedLines lines given up, the rest is given up too.
    ScanOutcome scan(const LogText& text, std::int64_t from, std::int64_t to, const Receiver& found,
                     const StaleCheck& isStale = {},
                     std::int64_t maxLimitedLines = std::numeric_limits<std::int64_t>::max());

    /// Reports the matches that start in [from, to) of one line, the line cut to a few
    /// characters around that stretch: the cost of what the screen shows, for a line of any
    /// length (an expression then sees the cut as the line's ends).
    ScanOutcome scanPiece(const LogText& text, std::int64_t from, std::int64_t to,
                          const Receiver& found);

private:
    struct State;
    template <class Char>
    ScanOutcome scanChars(const LogText& text, std::basic_string_view<Char> chars,
                          std::int64_t from, std::int64_t to, const Receiver& found,
                          const StaleCheck& isStale, std::int64_t maxLimitedLines);
    std::unique_ptr<State> state_;
};

} // namespace ombrel
