#pragma once

#include <QRect>
#include <QSize>
#include <vector>

namespace ombrel {

/// Which edges of a control follow a change of the window's client size.
enum class ResizeRule {
    StretchRight,       ///< the right edge moves with the width
    MoveHorizontally,   ///< both horizontal edges move with the width
    StretchRightBottom, ///< right edge with the width, bottom edge with the height
};

/// Places controls relative to the rectangles recorded at preparation, by their resize rules.
class ResizeLayout {
public:
    /// Records the client size that the recorded rectangles belong to.
    void prepare(QSize referenceClientSize);
    /// Records a control's rectangle and rule; returns its index for arrange().
    int add(QRect recorded, ResizeRule rule);
    /// The rectangle of control index for the given client size.
    QRect arrange(int index, QSize clientSize) const;
    /// The number of recorded controls.
    int count() const { return static_cast<int>(items_.size()); }

private:
    struct Item {
        QRect recorded;
        ResizeRule rule;
    };
    QSize reference_;
    std::vector<Item> items_;
};

} // namespace ombrel
