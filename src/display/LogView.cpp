#include "display/LogView.h"

#include "display/LogViewAccessible.h"
#include "display/SelectionMimeData.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace ombrel {

namespace {
// Room kept right of the caret when the view scrolls sideways to it.
constexpr int caretMargin = 16;
// Blank space left of the text, as a text editor leaves it.
constexpr int textMargin = 4;
} // namespace

LogView::LogView(QWidget* parent)
    : QAbstractScrollArea(parent), model_(std::make_shared<DisplayModel>()),
      layouts_(std::make_unique<LineLayouts>(font())) {
    LogViewAccessible::install();
    setAccessibleName(QStringLiteral("Display"));
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    updateScrollBars();
}

LogView::~LogView() {
    releaseOffThread(std::move(model_));
}

void LogView::setModel(std::shared_ptr<const DisplayModel> model) {
    if (!model) {
        model = std::make_shared<DisplayModel>();
    }
    std::optional<TextSelection> kept;
    if (!selection_.isEmpty()) {
        kept = SelectionMemo(*model_, selection_).restore(*model);
    }
    std::shared_ptr<const DisplayModel> previous = std::exchange(model_, std::move(model));
    notifyTextChange(*previous);
    releaseOffThread(std::move(previous));
    selection_ = kept.value_or(TextSelection{model_->size(), model_->size()});
    pressedLink_.reset();
    contentWidth_ = layouts_->estimatedWidth(*model_);
    updateScrollBars();
    scrollToEnd();
    if (!kept) {
        ensureCaretVisible();
    }
    viewport()->update();
    notifySelection();
    Q_EMIT modelChanged();
}

void LogView::setMatchFinder(MatchFinder finder) {
    matchFinder_ = std::move(finder);
    viewport()->update();
}

void LogView::setSelection(std::int64_t anchor, std::int64_t caret) {
    const std::int64_t size = model_->size();
    anchor = std::clamp<std::int64_t>(anchor, 0, size);
    caret = std::clamp<std::int64_t>(caret, 0, size);
    if (anchor == caret) {
        anchor = caret = characterEdge(caret, caret > selection_.caret);
    } else {
        const bool forward = caret > anchor;
        anchor = characterEdge(anchor, !forward);
        caret = characterEdge(caret, forward);
    }
    selection_ = {anchor, caret};
    ensureCaretVisible();
    viewport()->update();
    notifySelection();
    offerSelection();
}

QString LogView::selectedText() const {
    return model_->mid(selection_.start(), selection_.end() - selection_.start());
}

void LogView::selectAll() {
    selection_ = {0, model_->size()};
    viewport()->update();
    notifySelection();
    offerSelection();
}

std::unique_ptr<QMimeData> LogView::selectionMimeData() const {
    if (selection_.isEmpty()) {
        return nullptr;
    }
    // Made when pasted, so a large selection is not copied for nothing; from the text shown
    // now, so that what the view later shows or selects does not change it.
    return std::make_unique<SelectionMimeData>(model_, selection_.start(),
                                               selection_.end() - selection_.start());
}

void LogView::offerSelection() {
    QClipboard* clipboard = QApplication::clipboard();
    if (!selection_.isEmpty() && clipboard->supportsSelection()) {
        clipboard->setMimeData(selectionMimeData().release(), QClipboard::Selection);
    }
}

void LogView::copy() {
    if (!selection_.isEmpty()) {
        QApplication::clipboard()->setText(selectedText());
    }
}

void LogView::scrollToEnd() {
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

std::int64_t LogView::firstVisibleLine() const {
    return verticalScrollBar()->value();
}

int LogView::lineHeight(std::int64_t line) const {
    return layouts_->lineHeight(*model_, line);
}

std::int64_t LogView::topLineForEnd() const {
    const int height = viewport()->height();
    std::int64_t line = model_->lineCount() - 1;
    int used = lineHeight(line);
    while (line > 0 && used + lineHeight(line - 1) <= height) {
        --line;
        used += lineHeight(line);
    }
    return line;
}

std::int64_t LogView::visibleLineCount() const {
    return std::max(1, viewport()->height() / std::max(1, layouts_->lineHeight(0)));
}

void LogView::updateScrollBars() {
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, static_cast<int>(std::min<std::int64_t>(topLineForEnd(), INT_MAX)));
    vertical->setPageStep(static_cast<int>(visibleLineCount()));
    vertical->setSingleStep(1);
    QScrollBar* horizontal = horizontalScrollBar();
    const double overflow = contentWidth_ + caretMargin + textMargin - viewport()->width();
    horizontal->setRange(0, static_cast<int>(std::clamp<double>(std::ceil(overflow), 0, INT_MAX)));
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(static_cast<int>(std::ceil(2 * layouts_->charWidth())));
}

void LogView::resizeEvent(QResizeEvent* event) {
    const bool atEnd = verticalScrollBar()->value() == verticalScrollBar()->maximum();
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    if (atEnd) {
        scrollToEnd(); // a view that ended on the last line keeps doing so
    }
}

void LogView::scrollContentsBy(int /*dx*/, int /*dy*/) {
    viewport()->update();
}

std::int64_t LogView::lineAtY(int y) const {
    std::int64_t line = firstVisibleLine();
    if (y < 0) {
        return std::max<std::int64_t>(0, line - 1 - (-y) / std::max(1, lineHeight(line)));
    }
    for (int top = 0; line < model_->lineCount() - 1; ++line) {
        top += lineHeight(line);
        if (y < top) {
            break;
        }
    }
    return line;
}

std::int64_t LogView::positionAt(const QPoint& point) const {
    const std::int64_t line = lineAtY(point.y());
    const double left = horizontalScrollBar()->value();
    const LaidOutLine laid = layouts_->layOut(*model_, line, left, viewport()->width());
    const std::int64_t column = std::clamp<std::int64_t>(
        laid.columnAt(point.x() - textMargin + left), 0, model_->lineLength(line));
    return model_->lineStart(line) + column;
}

QRect LogView::characterRect(std::int64_t position) const {
    const std::int64_t line = model_->lineOf(position);
    std::int64_t at = firstVisibleLine();
    int top = 0;
    for (; at < line && top < viewport()->height(); ++at) {
        top += lineHeight(at);
    }
    if (at != line || top >= viewport()->height()) {
        return {};
    }
    const double left = horizontalScrollBar()->value();
    const LaidOutLine laid = layouts_->layOut(*model_, line, left, viewport()->width());
    const std::int64_t column = position - model_->lineStart(line);
    const double x = laid.xOfColumn(column);
    const double next = column < model_->lineLength(line) ? laid.xOfColumn(column + 1) : x;
    return QRect(static_cast<int>(x - left) + textMargin, top,
                 std::max(1, static_cast<int>(next - x)), lineHeight(line));
}

double LogView::caretX() const {
    const std::int64_t line = model_->lineOf(selection_.caret);
    const std::int64_t column = selection_.caret - model_->lineStart(line);
    if (model_->lineLength(line) > LineLayouts::wholeLineLimit) {
        return static_cast<double>(column) * layouts_->charWidth();
    }
    return layouts_->layOut(*model_, line, 0, viewport()->width()).xOfColumn(column);
}

void LogView::ensureCaretVisible() {
    const std::int64_t line = model_->lineOf(selection_.caret);
    QScrollBar* vertical = verticalScrollBar();
    if (line < vertical->value()) {
        vertical->setValue(static_cast<int>(line));
    } else {
        // The caret's line must end above the bottom edge.
        std::int64_t top = line;
        int used = lineHeight(line);
        while (top > vertical->value() && used + lineHeight(top - 1) <= viewport()->height()) {
            --top;
            used += lineHeight(top);
        }
        if (top > vertical->value()) {
            vertical->setValue(static_cast<int>(top));
        }
    }
    const double x = caretX();
    QScrollBar* horizontal = horizontalScrollBar();
    if (x > contentWidth_) {
        contentWidth_ = x;
        updateScrollBars();
    }
    if (x < horizontal->value()) {
        horizontal->setValue(static_cast<int>(std::max(0.0, x - caretMargin)));
    } else if (x > horizontal->value() + viewport()->width() - caretMargin - textMargin) {
        horizontal->setValue(
            static_cast<int>(std::ceil(x - viewport()->width() + caretMargin + textMargin)));
    }
}

void LogView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    const QPalette& colours = palette();
    painter.setPen(colours.text().color());
    const double left = horizontalScrollBar()->value();
    const int width = viewport()->width();
    const int height = viewport()->height();
    QTextCharFormat selected;
    selected.setBackground(colours.highlight());
    selected.setForeground(colours.highlightedText());
    double widest = contentWidth_;
    int top = 0;
    for (std::int64_t line = firstVisibleLine(); line < model_->lineCount() && top < height;
         ++line) {
        const int lineHeightPx = lineHeight(line);
        const LaidOutLine laid = layouts_->layOut(*model_, line, left, width, &matchFinder_);
        const QTextLine textLine = laid.layout->lineAt(0);
        const std::int64_t start = model_->lineStart(line) + laid.firstColumn;
        const std::int64_t end = start + laid.layout->text().size();
        QList<QTextLayout::FormatRange> selections;
        const std::int64_t from = std::max(selection_.start(), start);
        const std::int64_t to = std::min(selection_.end(), end);
        if (to > from) {
            selections.append(
                {static_cast<int>(from - start), static_cast<int>(to - from), selected});
        }
        const QPointF at(laid.x - left + textMargin, top + laid.baseline - textLine.ascent());
        laid.layout->draw(&painter, at, selections);
        const double right = laid.x + textLine.naturalTextWidth();
        // A selected line end shows as a narrow block after the line.
        const std::int64_t lineEnd = model_->lineStart(line) + model_->lineLength(line);
        if (line + 1 < model_->lineCount() && end == lineEnd && selection_.start() <= lineEnd &&
            selection_.end() > lineEnd) {
            painter.fillRect(
                QRectF(right - left + textMargin, top, layouts_->charWidth() / 2, lineHeightPx),
                colours.highlight());
        }
        if (hasFocus() && selection_.caret >= start && selection_.caret <= end &&
            model_->lineOf(selection_.caret) == line) {
            const double x =
                laid.xOfColumn(selection_.caret - model_->lineStart(line)) - left + textMargin;
            painter.fillRect(QRectF(x, top, 1, lineHeightPx), colours.text());
        }
        widest = std::max(widest, right);
        top += lineHeightPx;
    }
    if (widest > contentWidth_) {
        // The estimate fell short of a line now in view (wide or marked characters).
        contentWidth_ = widest;
        updateScrollBars();
    }
}

void LogView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        layouts_ = std::make_unique<LineLayouts>(font());
        const bool atEnd = verticalScrollBar()->value() == verticalScrollBar()->maximum();
        contentWidth_ = layouts_->estimatedWidth(*model_);
        updateScrollBars();
        if (atEnd) {
            scrollToEnd();
        }
        viewport()->update();
    }
    QAbstractScrollArea::changeEvent(event);
}

void LogView::focusInEvent(QFocusEvent* event) {
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void LogView::focusOutEvent(QFocusEvent* event) {
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

void LogView::notifyTextChange(const DisplayModel& previous) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessible::updateAccessibility(LogViewAccessible::textChange(this, previous).get());
    notifiedCaret_ = -1; // the caret is news again in the new text
}

void LogView::notifySelection() {
    if (QAccessible::isActive() && selection_.caret != notifiedCaret_) {
        QAccessibleTextCursorEvent caretEvent(this, static_cast<int>(selection_.caret));
        QAccessible::updateAccessibility(&caretEvent);
        notifiedCaret_ = selection_.caret;
    }
    if (QAccessible::isActive()) {
        QAccessibleTextSelectionEvent selectionEvent(this, static_cast<int>(selection_.start()),
                                                     static_cast<int>(selection_.end()));
        selectionEvent.setCursorPosition(static_cast<int>(selection_.caret));
        QAccessible::updateAccessibility(&selectionEvent);
    }
    Q_EMIT selectionChanged();
}

} // namespace ombrel
