#include "display/DisplaySwitcher.h"

#include "display/DocumentDisposal.h"
#include "display/MarkApplier.h"

#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextDocument>

namespace ombrel {

namespace {

// Suspends painting of a widget for the lifetime of the object.
class PaintingSuspended {
public:
    explicit PaintingSuspended(QWidget& widget)
        : widget_(widget), wasEnabled_(widget.updatesEnabled()) {
        widget_.setUpdatesEnabled(false);
    }
    ~PaintingSuspended() { widget_.setUpdatesEnabled(wasEnabled_); }
    PaintingSuspended(const PaintingSuspended&) = delete;
    PaintingSuspended& operator=(const PaintingSuspended&) = delete;

private:
    QWidget& widget_;
    bool wasEnabled_;
};

} // namespace

DisplaySwitcher::DisplaySwitcher(QPlainTextEdit& display, const UpdateGeneration& generations)
    : display_(display), generations_(generations) {}

bool DisplaySwitcher::install(std::unique_ptr<QTextDocument> document, std::uint64_t generation) {
    if (!document) {
        return false;
    }
    if (!generations_.isCurrent(generation)) {
        disposeDocument(document.release());
        return false;
    }
    // The display frees a document of its own making when it lets go of it; one that an
    // earlier install gave it is freed here.
    QTextDocument* previous = display_.document();
    const bool previousIsOurs = previous != nullptr && previous->parent() == &display_;
    {
        const PaintingSuspended suspended(display_);
        QTextDocument* next = document.release();
        next->setParent(&display_); // the display owns what it shows
        display_.setDocument(next);
        finishUpdate();
    }
    if (previousIsOurs) {
        disposeDocument(previous);
    }
    return true;
}

bool DisplaySwitcher::present(const PassResult& result) {
    if (!generations_.isCurrent(result.generation)) {
        return false;
    }
    const PaintingSuspended suspended(display_);
    // The caret may rest on a mark; new text typed at it would take the mark's look.
    display_.setCurrentCharFormat(QTextCharFormat());
    display_.setPlainText(result.text);
    MarkApplier::apply(*display_.document(), result.marks);
    finishUpdate();
    return true;
}

void DisplaySwitcher::finishUpdate() {
    display_.moveCursor(QTextCursor::End);
    display_.ensureCursorVisible();
}

} // namespace ombrel
