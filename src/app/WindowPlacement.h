#pragma once

#include <QList>
#include <QRect>

namespace ombrel {

/// Where a window asked for at `wanted` may go on screens with the given available areas: no
/// larger than the area it mostly lies on, and, when it would lie wholly off every screen, moved
/// into the primary area. A window partly on a screen keeps its position. No areas: unchanged.
QRect fitToScreens(const QRect& wanted, const QList<QRect>& availableAreas, qsizetype primary);

} // namespace ombrel
