#pragma once

#include "display/KeywordFlags.h"
#include "display/LogText.h"
#include "display/MarkRun.h"
#include "display/UpdateGeneration.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace ombrel {

/// What one keyword pass works on: copies, so it can run on any thread.
struct PassInput {
    LogText text;                 ///< the new display text, as read
    QStringList keywords;         ///< a snapshot of the keyword list
    KeywordFlags flags;           ///< the window's keyword flags
    std::uint64_t generation = 0; ///< the update this pass belongs to
};

/// What the display shows after a pass: set text, then apply marks, in one batch.
struct PassResult {
    std::uint64_t generation = 0;          ///< copied from the input
    LogText text;                          ///< the text to show: the input less any filtered lines
    MarkRuns marks;                        ///< in display positions of text (each line end is one)
    std::int64_t linesBeforeFiltering = 1; ///< line count of the input, for the status line
    QStringList keywordProblems; ///< keyword expressions that mark less than they match, and why
};

/// Marks every keyword occurrence and filters lines, off the window's thread. The result is the
/// same as marking the whole text first and deleting the filtered lines afterwards.
class KeywordPass {
public:
    /// Runs the pass; nothing when isStale reports, between steps, that a newer update began.
    /// With highlighting off the text comes back whole and unmarked.
    static std::optional<PassResult> run(const PassInput& input, const StaleCheck& isStale = {});
};

} // namespace ombrel
