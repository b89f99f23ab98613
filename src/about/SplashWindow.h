#pragma once

#include <QDialog>
#include <QImage>
#include <QTimer>

namespace ombrel {

/// The start-up splash: a frameless, top-most, modal window showing the splash picture for
/// 3.5 seconds, centred for its template's size and then given the picture's size.
class SplashWindow : public QDialog {
    Q_OBJECT
public:
    /// How long the splash stays up.
    static constexpr int displayMilliseconds = 3500;

    /// Places the window over parent, or over the primary screen's work area without one,
    /// and starts its timer; a null picture leaves the window empty at its template's size.
    explicit SplashWindow(const QImage& picture, QWidget* parent = nullptr);

    /// Shows the splash until its time is up; at once done when the time ran out already
    /// (behind a message box that stayed up longer).
    int exec() override;

private:
    QTimer timer_;
    bool timeUp_ = false;
};

} // namespace ombrel
