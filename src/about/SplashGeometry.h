#pragma once

#include <QRect>
#include <QSize>

namespace ombrel {

/// The splash window's frame: centred in area for the template's size, then given the
/// picture's size from that top-left corner. A null picture keeps the template's size.
QRect splashGeometry(QRect area, QSize templateSize, QSize pictureSize);

} // namespace ombrel
