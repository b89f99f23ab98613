#pragma once

#include <QFont>
#include <QRect>

namespace ombrel {

/// Converts dialog units to pixels with the base units of a dialog font.
class DialogUnits {
public:
    /// Measures the font's average character width and height.
    explicit DialogUnits(const QFont& dialogFont);
    /// The pixel rectangle of a rectangle given in dialog units.
    QRect toPixels(QRect dialogRect) const;
    /// Pixels of a horizontal length in dialog units.
    int x(int dialogUnits) const;
    /// Pixels of a vertical length in dialog units.
    int y(int dialogUnits) const;

private:
    int baseX_;
    int baseY_;
};

} // namespace ombrel
