#include "about/CreditsScroll.h"

#include <algorithm>

namespace ombrel {

void CreditsScroll::advance() {
    if (--bandTop_ < bandTopLimit) {
        bandTop_ = bandTopLimit; // the band stays; the text moves through it
        ++scrollOffset_;
    }
    if (scrollOffset_ > lastOffset) {
        bandTop_ = startTop;
        scrollOffset_ = 0;
    }
}

QRect CreditsScroll::target(int textWidth) const {
    return {bandLeft, bandTop_, textWidth, std::max(0, bandBottom - bandTop_)};
}

QRect CreditsScroll::source(int textWidth, int textHeight) const {
    // Rows past the text image would be white: they leave the picture as it is.
    const int rows = std::clamp(textHeight - scrollOffset_, 0, target(textWidth).height());
    return {0, scrollOffset_, textWidth, rows};
}

} // namespace ombrel
