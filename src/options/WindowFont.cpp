#include "options/WindowFont.h"

#include <QFont>
#include <QWidget>

namespace ombrel {

void WindowFont::applyAtStart(QWidget& display, const QFont& windowFont) const {
    if (faceName_.isEmpty()) {
        return;
    }
    QFont font = windowFont;
    font.setFamilies({faceName_});
    display.setFont(font);
}

void WindowFont::choose(QWidget& display, const QFont& font) {
    faceName_.clear();
    display.setFont(font);
}

} // namespace ombrel
