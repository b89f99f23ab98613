#include "display/DisplayDocumentBuilder.h"

#include "display/MarkApplier.h"

#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>

namespace ombrel {

std::unique_ptr<QTextDocument> DisplayDocumentBuilder::build(PassResult result, const QFont& font,
                                                             QThread* owner) {
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(font);
    document->setPlainText(result.text);
    result.text = QString();
    MarkApplier::apply(*document, result.marks);
    // The layout is attached after the edits so that it takes the whole text in once.
    document->setDocumentLayout(new QPlainTextDocumentLayout(document.get()));
    // A display creates every block's layout object when it takes a document; doing it here
    // keeps hundreds of thousands of allocations off the window's thread.
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        block.layout();
    }
    document->moveToThread(owner);
    return document;
}

} // namespace ombrel
