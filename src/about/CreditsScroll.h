#pragma once

#include <QRect>

namespace ombrel {

/// Where the credits band stands over the about picture: the text rises from row 320 until
/// its top reaches row 220, then scrolls through the band of rows 220 to 319, one pixel per
/// tick, and starts again once 296 rows have passed.
class CreditsScroll {
public:
    static constexpr int bandLeft = 100;        ///< first column of the band in the picture
    static constexpr int startTop = 320;        ///< the band's top when a cycle starts
    static constexpr int bandTopLimit = 220;    ///< the highest the band's top rises
    static constexpr int bandBottom = 319;      ///< the row below the band's last row
    static constexpr int lastOffset = 295;      ///< a scroll offset above this restarts
    static constexpr int tickMilliseconds = 50; ///< one step every tick

    /// The band's top row in the picture.
    int bandTop() const { return bandTop_; }
    /// The first row of the text image shown at the band's top.
    int scrollOffset() const { return scrollOffset_; }
    /// Moves one step on.
    void advance();
    /// The rectangle of the picture the text covers now (empty while below the band).
    QRect target(int textWidth) const;
    /// The rectangle of the text image shown in target(), clipped to the image's textHeight.
    QRect source(int textWidth, int textHeight) const;

private:
    int bandTop_ = startTop;
    int scrollOffset_ = 0;
};

} // namespace ombrel
