#include "app/ElidedLabel.h"

#include <QFontMetrics>

namespace ombrel {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setMinimumWidth(1); // shrink with the window instead of pushing it wider
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString& text) {
    full_ = text;
    setToolTip(text);
    setAccessibleName(text);
    refresh();
}

QString ElidedLabel::elideAtWords(const QString& text, int width, const QFontMetrics& metrics) {
    if (metrics.horizontalAdvance(text) <= width) {
        return text;
    }
    const QString ellipsis(QChar(0x2026));
    for (qsizetype end = text.lastIndexOf(u' '); end > 0; end = text.lastIndexOf(u' ', end - 1)) {
        const QString candidate = text.first(end).trimmed() + u' ' + ellipsis;
        if (metrics.horizontalAdvance(candidate) <= width) {
            return candidate;
        }
    }
    return ellipsis;
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    refresh();
}

void ElidedLabel::refresh() {
    const int width = contentsRect().width() - 2 * margin() - (indent() > 0 ? indent() : 0);
    setText(elideAtWords(full_, width, fontMetrics()));
}

} // namespace ombrel
