#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace ombrel {

/// A picture the tray icon can show.
struct TrayImage {
    enum Kind { Running, Paused, Frame };
    Kind kind = Running; ///< which picture
    int frame = 0;       ///< the animation frame, for Frame

    friend bool operator==(const TrayImage&, const TrayImage&) = default;
};

/// What the notification-area icon shows and does, free of any tray: its picture, tooltip,
/// change animation and default menu command. The adapter shows the state on a real tray.
class TrayState {
public:
    static constexpr int frameCount = 8;        ///< pictures of the change animation
    static constexpr int frameDelayMs = 150;    ///< time between two animation frames
    static constexpr int animationSeconds = 5;  ///< how long a change animates
    static constexpr int tooltipLimit = 64;     ///< tooltip length limit, terminator included
    static constexpr int restoreCommand = 207;  ///< "Restore"
    static constexpr int minimizeCommand = 208; ///< "Minimize"

    /// The tooltip while source is watched: "Ombrel\n" and the source, shortened to the limit.
    static QString watchingTip(const QString& source);
    /// The tooltip while paused: "Ombrel - Paused\n" and the source, shortened to the limit.
    static QString pausedTip(const QString& source);

    /// The picture shown now.
    TrayImage image() const { return image_; }
    /// The tooltip shown now ("Ombrel" at start).
    const QString& tip() const { return tip_; }
    /// Shows image at once; a running animation goes on over it and, at its end, brings back
    /// the picture from before the animation (so stop it first to keep image).
    void setImage(TrayImage image) { image_ = image; }
    /// Sets the tooltip.
    void setTip(const QString& tip) { tip_ = tip; }

    /// Starts the change animation at nowSeconds, ending any running one first; the picture
    /// from before it comes back when it ends.
    void startAnimation(std::int64_t nowSeconds);
    /// Ends the animation, bringing back the picture from before it; nothing when none runs.
    void stopAnimation();
    /// One frame tick: the next frame, or the end once more than the duration has passed.
    void frameTick(std::int64_t nowSeconds);
    /// An animation runs.
    bool animating() const { return saved_.has_value(); }

    /// The window is in the tray: the default command restores it; else it minimises it.
    void setWindowInTray(bool inTray) { windowInTray_ = inTray; }
    /// The window is in the tray.
    bool windowInTray() const { return windowInTray_; }
    /// The command a double-click (or a host's activation) runs.
    int defaultCommand() const { return windowInTray_ ? restoreCommand : minimizeCommand; }

private:
    TrayImage image_;
    QString tip_ = QStringLiteral("Ombrel");
    std::optional<TrayImage> saved_;
    std::int64_t animationStart_ = 0;
    int frame_ = 0;
    bool windowInTray_ = false;
};

} // namespace ombrel
