#pragma once

#include "display/KeywordPass.h"

#include <QFont>
#include <memory>

class QTextDocument;
class QThread;

namespace ombrel {

/// Builds the display's next document, text and marks included, on a worker thread, so the
/// window's thread only has to swap it in (see DisplaySwitcher). Setting a large text into a
/// document is the costly part of an update; done here, it never blocks the window.
class DisplayDocumentBuilder {
public:
    /// A finished plain-text document holding result's text, with its marks applied, in font
    /// (a copy taken on the window's thread), without undo; owned by the caller and already
    /// handed over to owner (the window's thread). Call it on any thread; the document must
    /// not be touched there afterwards. Pass the result by move: its text is let go as soon as
    /// the document holds it, which keeps a large update from holding it twice.
    static std::unique_ptr<QTextDocument> build(PassResult result, const QFont& font,
                                                QThread* owner);
};

} // namespace ombrel
