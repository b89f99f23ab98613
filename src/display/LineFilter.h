#pragma once

#include "display/LogText.h"
#include "display/MarkRun.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace ombrel {

/// Which lines survive filtering: a line "hits" when a keyword occurrence starts in it.
enum class LineFilterMode {
    keepAll,    ///< no filter
    keepHits,   ///< only lines with an occurrence
    keepMisses, ///< only lines without an occurrence
    keepNone,   ///< both filters at once: every line goes
};

/// The text to show after filtering, with its marks.
struct FilteredText {
    LogText text;   ///< kept lines, each with its own line end, in order (held as the input)
    MarkRuns marks; ///< in display positions of text: each line end counts one character
    std::int64_t linesBefore = 1; ///< lines of the text before filtering
};

/// Removes whole lines (each with its line end) as if from a display that is already marked,
/// and carries the marks of the kept lines over. Each line's hit test costs constant time: the
/// lines and the sorted occurrence starts are walked together.
class LineFilter {
public:
    /// Filters text; hitStarts are all occurrence starts, ascending; marks are in positions
    /// of text, sorted and not overlapping.
    static FilteredText apply(const LogText& text, const std::vector<std::int64_t>& hitStarts,
                              const MarkRuns& marks, LineFilterMode mode);
};

} // namespace ombrel
