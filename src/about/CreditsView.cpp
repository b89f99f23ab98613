#include "about/CreditsView.h"

#include <QPainter>

namespace ombrel {

CreditsView::CreditsView(QImage background, QImage text, QWidget* parent)
    : QWidget(parent), background_(std::move(background)), text_(std::move(text)),
      frame_(background_.size(), QImage::Format_RGB32) {
    setObjectName(QStringLiteral("creditsView"));
    setAccessibleName(QStringLiteral("Ombrel picture and credits"));
    setFixedSize(background_.size());
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (!text_.isNull()) {
        connect(&timer_, &QTimer::timeout, this, &CreditsView::tick);
        timer_.start(CreditsScroll::tickMilliseconds);
    }
}

void CreditsView::tick() {
    scroll_.advance();
    update();
}

void CreditsView::paintEvent(QPaintEvent*) {
    {
        QPainter compose(&frame_);
        compose.drawImage(0, 0, background_);
        const QRect source = scroll_.source(text_.width(), text_.height());
        if (!text_.isNull() && !source.isEmpty()) {
            compose.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            compose.drawImage(scroll_.target(text_.width()).topLeft(), text_, source);
        }
    }
    QPainter(this).drawImage(0, 0, frame_);
}

} // namespace ombrel
