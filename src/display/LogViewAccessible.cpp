#include "display/LogViewAccessible.h"

#include "display/LogView.h"

#include <QFontInfo>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <climits>

namespace ombrel {

namespace {

// Offsets of the interface are ints; a text beyond them is cut off there for screen readers.
int toOffset(std::int64_t position) {
    return static_cast<int>(std::min<std::int64_t>(position, INT_MAX));
}

// How far either side of an offset words and sentences are looked for: a line of a log can be
// megabytes long.
constexpr std::int64_t itemReach = 4096;

QAccessibleInterface* createInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("ombrel::LogView") && object && object->isWidgetType()) {
        return new LogViewAccessible(static_cast<LogView*>(object));
    }
    return nullptr;
}

} // namespace

std::unique_ptr<QAccessibleEvent> LogViewAccessible::textChange(LogView* view,
                                                                const DisplayModel& previous) {
    const DisplayModel& next = *view->model();
    if (previous.size() + next.size() <= largestTextChange) {
        return std::make_unique<QAccessibleTextUpdateEvent>(view, 0, previous.text(), next.text());
    }
    return std::make_unique<QAccessibleEvent>(view, QAccessible::VisibleDataChanged);
}

LogViewAccessible::LogViewAccessible(LogView* view)
    : QAccessibleWidget(view, QAccessible::EditableText) {}

void LogViewAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        return true;
    }();
    static_cast<void>(installed);
}

LogView* LogViewAccessible::view() const {
    return static_cast<LogView*>(widget());
}

void* LogViewAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State LogViewAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString LogViewAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value) {
        return text(0, characterCount());
    }
    return QAccessibleWidget::text(type);
}

void LogViewAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    const TextSelection& selected = view()->selection();
    if (selectionIndex == 0 && !selected.isEmpty()) {
        *startOffset = toOffset(selected.start());
        *endOffset = toOffset(selected.end());
    }
}

int LogViewAccessible::selectionCount() const {
    return view()->selection().isEmpty() ? 0 : 1;
}

void LogViewAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void LogViewAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) {
        const std::int64_t caret = view()->selection().caret;
        view()->setSelection(caret, caret);
    }
}

void LogViewAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) {
        view()->setSelection(startOffset, endOffset);
    }
}

int LogViewAccessible::cursorPosition() const {
    return toOffset(view()->selection().caret);
}

void LogViewAccessible::setCursorPosition(int position) {
    view()->setSelection(position, position);
}

QString LogViewAccessible::text(int startOffset, int endOffset) const {
    const DisplayModel& model = *view()->model();
    const std::int64_t start = std::clamp<std::int64_t>(startOffset, 0, model.size());
    const std::int64_t end = std::clamp<std::int64_t>(endOffset, start, model.size());
    return model.mid(start, end - start);
}

LogViewAccessible::Span
LogViewAccessible::itemAt(std::int64_t position, QAccessible::TextBoundaryType boundaryType) const {
    const DisplayModel& model = *view()->model();
    switch (boundaryType) {
    case QAccessible::CharBoundary: {
        if (position == model.size()) {
            return {position, position};
        }
        const std::int64_t start = model.splitsPair(position) ? position - 1 : position;
        return {start, model.splitsPair(start + 1) ? start + 2 : start + 1};
    }
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary: {
        const std::int64_t line = model.lineOf(position);
        const std::int64_t start = model.lineStart(line);
        return {start, std::min(model.size(), start + model.lineLength(line) + 1)}; // with its end
    }
    case QAccessible::WordBoundary:
    case QAccessible::SentenceBoundary:
        return textItemAt(position, boundaryType);
    default:
        return {0, model.size()};
    }
}

LogViewAccessible::Span
LogViewAccessible::textItemAt(std::int64_t position,
                              QAccessible::TextBoundaryType boundaryType) const {
    // Looked for in the line around position, as far as itemReach either side; a window edge
    // never falls inside a pair, so neither does an item's.
    const DisplayModel& model = *view()->model();
    const std::int64_t line = model.lineOf(position);
    const std::int64_t lineStart = model.lineStart(line);
    const std::int64_t lineEnd = std::min(model.size(), lineStart + model.lineLength(line) + 1);
    std::int64_t from = std::max(lineStart, position - itemReach);
    std::int64_t to = std::min(lineEnd, position + itemReach);
    from -= model.splitsPair(from) ? 1 : 0;
    to += model.splitsPair(to) ? 1 : 0;
    const QString window = model.mid(from, to - from);
    if (window.isEmpty()) {
        return {position, position};
    }
    // As Qt's own text interface does: from the last start or end of an item at or before the
    // character at position to the next one.
    QTextBoundaryFinder finder(boundaryType == QAccessible::WordBoundary
                                   ? QTextBoundaryFinder::Word
                                   : QTextBoundaryFinder::Sentence,
                               window);
    const auto atEdge = [&finder] {
        return finder.boundaryReasons().testAnyFlags(QTextBoundaryFinder::StartOfItem |
                                                     QTextBoundaryFinder::EndOfItem);
    };
    finder.setPosition(static_cast<qsizetype>(std::min(position - from, to - from - 1)));
    while (finder.position() > 0 && !atEdge()) {
        finder.toPreviousBoundary();
    }
    const qsizetype start = finder.position();
    qsizetype end = start;
    do {
        end = finder.toNextBoundary();
    } while (end > start && end < window.size() && !atEdge());
    return {from + start, from + (end > start ? end : window.size())};
}

QString LogViewAccessible::answer(std::optional<Span> item, int* startOffset,
                                  int* endOffset) const {
    if (!item) {
        *startOffset = *endOffset = -1; // none there
        return {};
    }
    *startOffset = toOffset(item->first);
    *endOffset = toOffset(item->second);
    return text(*startOffset, *endOffset);
}

QString LogViewAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const {
    const std::int64_t position = offset == -1 ? characterCount() : offset;
    std::optional<Span> item;
    if (position >= 0 && position <= characterCount() && boundaryType != QAccessible::NoBoundary) {
        const std::int64_t start = itemAt(position, boundaryType).first;
        if (start > 0) {
            item = itemAt(start - 1, boundaryType);
        }
    }
    return answer(item, startOffset, endOffset);
}

QString LogViewAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                        int* startOffset, int* endOffset) const {
    // -1 stands for the end of the text.
    const std::int64_t position = offset == -1 ? characterCount() : offset;
    std::optional<Span> item;
    if (position >= 0 && position <= characterCount()) {
        item = itemAt(position, boundaryType);
    }
    return answer(item, startOffset, endOffset);
}

QString LogViewAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                           int* startOffset, int* endOffset) const {
    const std::int64_t position = offset == -1 ? characterCount() : offset;
    std::optional<Span> item;
    if (position >= 0 && position <= characterCount() && boundaryType != QAccessible::NoBoundary) {
        const std::int64_t end = itemAt(position, boundaryType).second;
        if (end < characterCount()) {
            item = itemAt(end, boundaryType);
        }
    }
    return answer(item, startOffset, endOffset);
}

int LogViewAccessible::characterCount() const {
    return toOffset(view()->model()->size());
}

QRect LogViewAccessible::characterRect(int offset) const {
    const QRect local = view()->characterRect(offset);
    if (local.isEmpty()) {
        return {};
    }
    return QRect(view()->viewport()->mapToGlobal(local.topLeft()), local.size());
}

int LogViewAccessible::offsetAtPoint(const QPoint& point) const {
    return toOffset(view()->positionAt(view()->viewport()->mapFromGlobal(point)));
}

void LogViewAccessible::scrollToSubstring(int startIndex, int endIndex) {
    view()->setSelection(startIndex, endIndex);
}

QString LogViewAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    const DisplayModel& model = *view()->model();
    if (offset < 0 || offset >= characterCount()) {
        *startOffset = *endOffset = -1;
        return {};
    }
    // The run of one look around offset: a mark, or the plain text between two marks.
    const auto mark = model.firstMarkEndingAfter(offset);
    const bool marked = mark != model.marks().end() && mark->start <= offset;
    std::int64_t start = 0;
    std::int64_t end = model.size();
    int steps = 0;
    if (marked) {
        start = mark->start;
        end = mark->end();
        steps = mark->sizeSteps;
    } else {
        start = mark == model.marks().begin() ? 0 : (mark - 1)->end();
        end = mark == model.marks().end() ? model.size() : mark->start;
    }
    *startOffset = toOffset(start);
    *endOffset = toOffset(std::min(end, model.size()));

    const QFont& font = view()->font();
    const double basePoints =
        font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
    QString family = font.family();
    for (const QChar special : {u'\\', u':', u',', u'=', u';', u'"'}) {
        family.replace(special, QString(u'\\') + special);
    }
    // In the names and order Qt's own text widgets report them. The underline needs its type
    // as well as its style: the type is what AT-SPI passes on as "underline".
    return QStringLiteral("font-family:\"%1\";font-size:%2pt;font-style:normal;font-weight:%3;"
                          "text-position:baseline;text-underline-style:%4;"
                          "text-underline-type:%5;")
        .arg(family, QString::number(basePoints + steps * MarkRun::markGrowthPoints),
             marked ? QStringLiteral("bold") : QStringLiteral("normal"),
             marked ? QStringLiteral("dotted") : QStringLiteral("none"),
             marked ? QStringLiteral("single") : QStringLiteral("none"));
}

} // namespace ombrel
