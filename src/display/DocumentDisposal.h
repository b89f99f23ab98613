#pragma once

class QTextDocument;

namespace ombrel {

/// Frees a display document on a worker thread, since freeing tens of megabytes of blocks
/// takes long; call it on the document's own thread, which lets go of it at once.
void disposeDocument(QTextDocument* document);

} // namespace ombrel
