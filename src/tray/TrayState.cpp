#include "tray/TrayState.h"

#include "app/CompactPath.h"

namespace ombrel {

QString TrayState::watchingTip(const QString& source) {
    return compactPath(QStringLiteral("Ombrel\n") + source, tooltipLimit);
}

QString TrayState::pausedTip(const QString& source) {
    return compactPath(QStringLiteral("Ombrel - Paused\n") + source, tooltipLimit);
}

void TrayState::startAnimation(std::int64_t nowSeconds) {
    stopAnimation();
    frame_ = 0;
    animationStart_ = nowSeconds;
    saved_ = image_;
}

void TrayState::stopAnimation() {
    if (saved_) {
        image_ = *saved_;
        saved_.reset();
    }
}

void TrayState::frameTick(std::int64_t nowSeconds) {
    if (!animating()) {
        return;
    }
    // Whole seconds by the clock: the end comes between 5 and 6 seconds after the start.
    if (nowSeconds - animationStart_ > animationSeconds) {
        stopAnimation();
        return;
    }
    frame_ = (frame_ + 1) % frameCount;
    image_ = {TrayImage::Frame, frame_};
}

} // namespace ombrel
