#include "about/CreditsImage.h"

#include "about/CreditsLayout.h"

#include <QFontMetrics>
#include <QPainter>

namespace ombrel {

namespace {

// A font whose whole cell (ascent and descent) fits cellHeight rows, as a line of that
// height expects; plain pixels, so that the picture below shows through cleanly.
QFont cellFont(int cellHeight, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoAntialias);
    for (int pixels = cellHeight; pixels > 1; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() <= cellHeight) {
            break;
        }
    }
    return font;
}

} // namespace

QImage renderCredits(const QString& credits) {
    QImage image(CreditsMetrics::width, CreditsMetrics::height, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QFont heading = cellFont(CreditsMetrics::lineHeight(CreditsLineKind::Heading), true);
    const QFont emphasis = cellFont(CreditsMetrics::lineHeight(CreditsLineKind::Emphasis), true);
    const QFont body = cellFont(CreditsMetrics::lineHeight(CreditsLineKind::Body), false);
    QPainter painter(&image);
    for (const CreditsLine& line : layoutCredits(credits)) {
        const bool isHeading = line.kind == CreditsLineKind::Heading;
        painter.setFont(isHeading                                ? heading
                        : line.kind == CreditsLineKind::Emphasis ? emphasis
                                                                 : body);
        painter.setPen(isHeading ? QColor(16, 140, 231) : QColor(Qt::black));
        const QRect cell(0, line.top, CreditsMetrics::width, CreditsMetrics::lineHeight(line.kind));
        painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line.text);
    }
    return image;
}

} // namespace ombrel
