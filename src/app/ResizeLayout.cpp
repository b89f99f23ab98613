#include "app/ResizeLayout.h"

namespace ombrel {

void ResizeLayout::prepare(QSize referenceClientSize) {
    reference_ = referenceClientSize;
    items_.clear();
}

int ResizeLayout::add(QRect recorded, ResizeRule rule) {
    items_.push_back({recorded, rule});
    return count() - 1;
}

QRect ResizeLayout::arrange(int index, QSize clientSize) const {
    const Item& item = items_.at(static_cast<std::size_t>(index));
    const int dx = clientSize.width() - reference_.width();
    const int dy = clientSize.height() - reference_.height();
    QRect r = item.recorded;
    switch (item.rule) {
    case ResizeRule::StretchRight:
        r.setRight(r.right() + dx);
        break;
    case ResizeRule::MoveHorizontally:
        r.translate(dx, 0);
        break;
    case ResizeRule::StretchRightBottom:
        r.setRight(r.right() + dx);
        r.setBottom(r.bottom() + dy);
        break;
    }
    return r;
}

} // namespace ombrel
