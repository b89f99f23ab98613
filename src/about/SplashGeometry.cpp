#include "about/SplashGeometry.h"

namespace ombrel {

QRect splashGeometry(QRect area, QSize templateSize, QSize pictureSize) {
    const QPoint topLeft(area.left() + (area.width() - templateSize.width()) / 2,
                         area.top() + (area.height() - templateSize.height()) / 2);
    return {topLeft, pictureSize.isEmpty() ? templateSize : pictureSize};
}

} // namespace ombrel
