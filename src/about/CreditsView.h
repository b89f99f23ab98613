#pragma once

#include "about/CreditsScroll.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace ombrel {

/// The about box's picture with the credits scrolling over its lower part: each frame is the
/// picture with the band of the credits image combined into it by AND, so white text pixels
/// leave the picture as it is and dark ones darken it.
class CreditsView : public QWidget {
    Q_OBJECT
public:
    /// Shows background (its size is the view's) with the rendered text image scrolling over
    /// it every 50 ms; a null text image shows the picture alone, without ticking.
    CreditsView(QImage background, QImage text, QWidget* parent = nullptr);

    /// The picture's size.
    QSize sizeHint() const override { return background_.size(); }
    /// The scroll position of the next frame.
    const CreditsScroll& scroll() const { return scroll_; }

public Q_SLOTS:
    /// Moves the credits one step on and asks for the next frame.
    void tick();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage background_;
    QImage text_;
    QImage frame_; // composed in place each frame, allocated once
    CreditsScroll scroll_;
    QTimer timer_;
};

} // namespace ombrel
