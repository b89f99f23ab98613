// The display's keyboard, mouse and context menu: moving the caret, selecting and copying.
#include "display/LogView.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

namespace ombrel {

namespace {
bool isWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c.isMark();
}
// How far a double click or a word move looks for the ends of a word.
constexpr std::int64_t longestWord = 1024;
} // namespace

void LogView::moveCaret(std::int64_t position, bool extend) {
    position = std::clamp<std::int64_t>(position, 0, model_->size());
    position = characterEdge(position, position > selection_.caret);
    selection_.caret = position;
    if (!extend) {
        selection_.anchor = position;
    }
    ensureCaretVisible();
    viewport()->update();
    notifySelection();
    if (!dragging_) {
        offerSelection();
    }
}

std::int64_t LogView::characterEdge(std::int64_t position, bool forward) const {
    // Never between the halves of a pair: on past it, or back before it.
    if (!model_->splitsPair(position)) {
        return position;
    }
    return forward ? position + 1 : position - 1;
}

std::int64_t LogView::wordMove(std::int64_t position, bool forward) const {
    // As editors do: back to the start of this or the previous word, or on to the start of
    // the next one; line ends count as gaps between words.
    const DisplayModel& text = *model_;
    const std::int64_t limit = forward ? std::min(text.size(), position + longestWord)
                                       : std::max<std::int64_t>(0, position - longestWord);
    if (forward) {
        while (position < limit && isWordCharacter(text.at(position))) {
            ++position;
        }
        while (position < limit && !isWordCharacter(text.at(position))) {
            ++position;
        }
        return position;
    }
    while (position > limit && !isWordCharacter(text.at(position - 1))) {
        --position;
    }
    while (position > limit && isWordCharacter(text.at(position - 1))) {
        --position;
    }
    return position;
}

std::int64_t LogView::verticalMove(std::int64_t lines) const {
    const std::int64_t line = model_->lineOf(selection_.caret);
    const std::int64_t column = selection_.caret - model_->lineStart(line);
    const std::int64_t target = std::clamp<std::int64_t>(line + lines, 0, model_->lineCount() - 1);
    if (target == line) {
        return lines < 0 ? model_->lineStart(line)
                         : model_->lineStart(line) + model_->lineLength(line);
    }
    return model_->lineStart(target) + std::min(column, model_->lineLength(target));
}

void LogView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    const bool extend = event->modifiers().testFlag(Qt::ShiftModifier);
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    const std::int64_t line = model_->lineOf(selection_.caret);
    const std::int64_t page = std::max<std::int64_t>(1, visibleLineCount() - 1);
    switch (event->key()) {
    case Qt::Key_Left:
        moveCaret(control ? wordMove(selection_.caret, false) : selection_.caret - 1, extend);
        return;
    case Qt::Key_Right:
        moveCaret(control ? wordMove(selection_.caret, true) : selection_.caret + 1, extend);
        return;
    case Qt::Key_Up:
        moveCaret(verticalMove(-1), extend);
        return;
    case Qt::Key_Down:
        moveCaret(verticalMove(1), extend);
        return;
    case Qt::Key_PageUp:
        verticalScrollBar()->setValue(verticalScrollBar()->value() - static_cast<int>(page));
        moveCaret(verticalMove(-page), extend);
        return;
    case Qt::Key_PageDown:
        verticalScrollBar()->setValue(verticalScrollBar()->value() + static_cast<int>(page));
        moveCaret(verticalMove(page), extend);
        return;
    case Qt::Key_Home:
        moveCaret(control ? 0 : model_->lineStart(line), extend);
        return;
    case Qt::Key_End:
        moveCaret(control ? model_->size() : model_->lineStart(line) + model_->lineLength(line),
                  extend);
        return;
    default:
        // Enter, Escape and the rest go on to the window.
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void LogView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const std::int64_t position = positionAt(event->position().toPoint());
    pressedLink_ = linkFinder_ ? linkFinder_(*model_, position) : std::nullopt;
    dragging_ = true;
    moveCaret(position, event->modifiers().testFlag(Qt::ShiftModifier));
}

void LogView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (!dragging_) {
        const bool overLink = linkFinder_ && linkFinder_(*model_, positionAt(point)).has_value();
        viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
        return;
    }
    // Dragging past an edge scrolls that way.
    if (point.y() < 0) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else if (point.y() > viewport()->height()) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    }
    pressedLink_.reset();
    moveCaret(positionAt(point), true);
}

void LogView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
        offerSelection();
        if (pressedLink_ && selection_.isEmpty()) {
            Q_EMIT linkActivated(pressedLink_->start(), pressedLink_->end());
        }
        pressedLink_.reset();
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void LogView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        selectWordAt(positionAt(event->position().toPoint()));
        dragging_ = false;
        return;
    }
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void LogView::selectWordAt(std::int64_t position) {
    position = characterEdge(position, false);
    const std::int64_t line = model_->lineOf(position);
    const std::int64_t lineStart = model_->lineStart(line);
    const std::int64_t lineEnd = lineStart + model_->lineLength(line);
    const DisplayModel& text = *model_;
    std::int64_t start = position;
    std::int64_t end = position;
    const std::int64_t floor = std::max(lineStart, position - longestWord);
    const std::int64_t ceiling = std::min(lineEnd, position + longestWord);
    while (start > floor && isWordCharacter(text.at(start - 1))) {
        --start;
    }
    while (end < ceiling && isWordCharacter(text.at(end))) {
        ++end;
    }
    if (start == end && end < lineEnd) {
        end = characterEdge(end + 1, true); // not a word: the character itself
    }
    selection_ = {start, end};
    ensureCaretVisible();
    viewport()->update();
    notifySelection();
    offerSelection();
}

std::unique_ptr<QMenu> LogView::createContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    QAction* copyAction = menu->addAction(QStringLiteral("&Copy"), this, &LogView::copy);
    copyAction->setObjectName(QStringLiteral("copy"));
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(!selection_.isEmpty());
    QAction* selectAllAction =
        menu->addAction(QStringLiteral("Select &All"), this, &LogView::selectAll);
    selectAllAction->setObjectName(QStringLiteral("selectAll"));
    selectAllAction->setShortcut(QKeySequence::SelectAll);
    selectAllAction->setEnabled(model_->size() > 0);
    return menu;
}

void LogView::contextMenuEvent(QContextMenuEvent* event) {
    createContextMenu()->exec(event->globalPos());
}

} // namespace ombrel
