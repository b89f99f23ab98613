#pragma once

#include "display/MarkRun.h"

class QTextDocument;

namespace ombrel {

/// Puts keyword marks into a display's document as real character formats, so that painting,
/// printing and screen readers all see them: bold, a dotted underline and the size grown by
/// the run's steps. No colour is set. Runs on the thread that owns the document.
class MarkApplier {
public:
    /// Applies marks (display positions of the document's current text) in one edit block;
    /// runs beyond the document's end are cut off there.
    static void apply(QTextDocument& document, const MarkRuns& marks);
};

} // namespace ombrel
