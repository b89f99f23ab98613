#pragma once

#include "display/KeywordPass.h"
#include "display/UpdateGeneration.h"

#include <cstdint>
#include <memory>

class QPlainTextEdit;
class QTextDocument;

namespace ombrel {

/// Puts finished updates on the display, on the window's thread: only the newest update,
/// in one batch with painting suspended, leaving the caret after the last line. A result of
/// an older update is dropped, never waited for.
class DisplaySwitcher {
public:
    /// Works on display, judging results by generations; both must outlive the switcher.
    DisplaySwitcher(QPlainTextEdit& display, const UpdateGeneration& generations);

    /// Swaps in a document made by DisplayDocumentBuilder for generation. The display keeps
    /// it; the document it replaces is freed on a worker thread, so nothing may keep a cursor
    /// into it. False, and the document freed unused, when a newer update has begun.
    bool install(std::unique_ptr<QTextDocument> document, std::uint64_t generation);

    /// Sets the result's text into the display's current document and applies its marks on
    /// this thread (slower than install for large texts). False, nothing changed, when stale.
    bool present(const PassResult& result);

private:
    void finishUpdate();

    QPlainTextEdit& display_;
    const UpdateGeneration& generations_;
};

} // namespace ombrel
