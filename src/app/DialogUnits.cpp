#include "app/DialogUnits.h"

#include <QFontMetrics>

namespace ombrel {

DialogUnits::DialogUnits(const QFont& dialogFont) {
    const QFontMetrics metrics(dialogFont);
    // The average width of the 52 letters, rounded up, as dialog templates measure it.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = (letters / 26 + 1) / 2;
    baseY_ = metrics.height();
}

int DialogUnits::x(int dialogUnits) const {
    return dialogUnits * baseX_ / 4;
}

int DialogUnits::y(int dialogUnits) const {
    return dialogUnits * baseY_ / 8;
}

QRect DialogUnits::toPixels(QRect dialogRect) const {
    const int left = x(dialogRect.left());
    const int top = y(dialogRect.top());
    return {left, top, x(dialogRect.left() + dialogRect.width()) - left,
            y(dialogRect.top() + dialogRect.height()) - top};
}

} // namespace ombrel
