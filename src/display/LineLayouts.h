#pragma once

#include "display/DisplayModel.h"

#include <QFont>
#include <QTextCharFormat>
#include <QTextLayout>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace ombrel {

/// One line of the display laid out for drawing: the whole line, or for a very long line only
/// the stretch around the visible part.
struct LaidOutLine {
    std::unique_ptr<QTextLayout> layout; ///< the laid-out characters, one text line
    std::int64_t firstColumn = 0;        ///< column of the layout's first character
    double x = 0;                        ///< content x of the layout's first character
    double baseline = 0;                 ///< from the top of the line

    /// Content x of column (clamped to the laid-out stretch).
    double xOfColumn(std::int64_t column) const;
    /// The column nearest to content x (clamped to the laid-out stretch).
    std::int64_t columnAt(double x) const;
};

/// Adds to found the stretches [start, end) of the find bar's matches that start in
/// [from, to) of a model, in order.
using MatchFinder =
    std::function<void(const DisplayModel& model, std::int64_t from, std::int64_t to,
                       std::vector<std::pair<std::int64_t, std::int64_t>>& found)>;

/// Sizes and layouts of display lines in one font: a line is as tall as its largest mark, and
/// only lines asked for are ever laid out. Lines longer than wholeLineLimit are laid out only
/// around the part in view, placed by an estimated character width, so a line of any length
/// costs what fits on the screen.
class LineLayouts {
public:
    /// Lines longer than this are laid out piecewise.
    static constexpr std::int64_t wholeLineLimit = 4096;

    /// Lays out in font (the display's own).
    explicit LineLayouts(const QFont& font);

    /// The display font.
    const QFont& font() const { return font_; }
    /// The look of a mark grown sizeSteps times: bold, dotted underline, larger by steps.
    QTextCharFormat markFormat(int sizeSteps) const;
    /// Height of a line whose largest mark has sizeSteps steps.
    int lineHeight(int sizeSteps) const;
    /// Height of line of model.
    int lineHeight(const DisplayModel& model, std::int64_t line) const;
    /// The average character width, for estimates.
    double charWidth() const { return charWidth_; }
    /// Estimated width of the widest line of model.
    double estimatedWidth(const DisplayModel& model) const;

    /// The look of a find match: a background of its own over whatever marks it.
    static QTextCharFormat findFormat();

    /// Lays out line of model for a view whose left edge is at content x left and which is
    /// width wide (the whole line when it is not too long), with the matches of matches.
    LaidOutLine layOut(const DisplayModel& model, std::int64_t line, double left, double width,
                       const MatchFinder* matches = nullptr) const;

private:
    struct Metrics {
        int height = 0;
        double ascent = 0;
    };
    const Metrics& metrics(int sizeSteps) const;

    QFont font_;
    QTextCharFormat linkFormat_;
    double basePoints_ = 10;
    double charWidth_ = 8;
    mutable std::map<int, Metrics> metrics_;
};

} // namespace ombrel
