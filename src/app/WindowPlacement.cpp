#include "app/WindowPlacement.h"

#include <algorithm>

namespace ombrel {

namespace {
std::int64_t areaOf(const QRect& r) {
    return r.isEmpty() ? 0 : std::int64_t{r.width()} * r.height();
}
} // namespace

QRect fitToScreens(const QRect& wanted, const QList<QRect>& availableAreas, qsizetype primary) {
    if (availableAreas.isEmpty()) {
        return wanted;
    }
    qsizetype best = -1;
    std::int64_t bestOverlap = 0;
    for (qsizetype i = 0; i < availableAreas.size(); ++i) {
        const std::int64_t overlap = areaOf(availableAreas[i].intersected(wanted));
        if (overlap > bestOverlap) {
            best = i;
            bestOverlap = overlap;
        }
    }
    const bool offScreen = best < 0;
    const QRect& area =
        availableAreas[offScreen ? std::clamp<qsizetype>(primary, 0, availableAreas.size() - 1)
                                 : best];
    QRect fitted(wanted.topLeft(), QSize(std::min(wanted.width(), area.width()),
                                         std::min(wanted.height(), area.height())));
    if (offScreen) {
        fitted.moveLeft(std::clamp(fitted.left(), area.left(),
                                   std::max(area.left(), area.right() + 1 - fitted.width())));
        fitted.moveTop(std::clamp(fitted.top(), area.top(),
                                  std::max(area.top(), area.bottom() + 1 - fitted.height())));
    }
    return fitted;
}

} // namespace ombrel
