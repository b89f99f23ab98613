#include "options/FontFaces.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <cstdlib>
#include <limits>
#include <memory>

namespace ombrel {

namespace {
int widthOf(const QFont& font) {
    return font.stretch() == QFont::AnyStretch ? QFont::Unstretched : font.stretch();
}
} // namespace

QString closestStyle(const QString& family, const QFont& like) {
    QString best;
    int bestDistance = std::numeric_limits<int>::max();
    for (const QString& style : QFontDatabase::styles(family)) {
        const QFont face = QFontDatabase::font(family, style, 12);
        // Slant counts most, then width, then weight.
        const int distance = (face.italic() != like.italic() ? 100000 : 0) +
                             std::abs(widthOf(face) - widthOf(like)) * 100 +
                             std::abs(face.weight() - like.weight());
        if (distance < bestDistance) {
            best = style;
            bestDistance = distance;
        }
    }
    return best;
}

QFont withStyleName(QFont font) {
    if (font.styleName().isEmpty()) {
        font.setStyleName(closestStyle(font.family(), font));
    }
    return font;
}

void keepStyleAcrossFamilies(QFontDialog& dialog) {
    auto last = std::make_shared<QFont>(dialog.currentFont());
    QObject::connect(&dialog, &QFontDialog::currentFontChanged, &dialog,
                     [&dialog, last](const QFont& font) {
                         if (font.family() != last->family()) {
                             const QString style = closestStyle(font.family(), *last);
                             if (!style.isEmpty() && style != QFontDatabase::styleString(font)) {
                                 QFont kept = font;
                                 kept.setStyleName(style);
                                 *last = kept;
                                 dialog.setCurrentFont(kept);
                                 return;
                             }
                         }
                         *last = font;
                     });
}

} // namespace ombrel
