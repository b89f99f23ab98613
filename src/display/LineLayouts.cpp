#include "display/LineLayouts.h"

#include "display/AddressLinks.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPalette>
#include <QTextOption>
#include <algorithm>
#include <cmath>

namespace ombrel {

namespace {
// Characters laid out on either side of the visible part of a long line.
constexpr std::int64_t sliceMargin = 64;
// The default tab stops of a plain-text display.
constexpr double tabStopDistance = 80;

QFont grown(QFont font, double points, int sizeSteps) {
    font.setBold(true);
    if (sizeSteps > 0) {
        font.setPointSizeF(points + sizeSteps * MarkRun::markGrowthPoints);
    }
    return font;
}
} // namespace

double LaidOutLine::xOfColumn(std::int64_t column) const {
    if (layout->lineCount() == 0) {
        return x;
    }
    const QTextLine line = layout->lineAt(0);
    const auto length = static_cast<std::int64_t>(layout->text().size());
    const int inLayout =
        static_cast<int>(std::clamp<std::int64_t>(column - firstColumn, 0, length));
    return x + line.cursorToX(inLayout);
}

std::int64_t LaidOutLine::columnAt(double contentX) const {
    if (layout->lineCount() == 0) {
        return firstColumn;
    }
    return firstColumn + layout->lineAt(0).xToCursor(contentX - x);
}

LineLayouts::LineLayouts(const QFont& font) : font_(font) {
    // A font sized in pixels is asked for its size in points, the unit marks grow in.
    basePoints_ = font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
    charWidth_ = std::max(1.0, QFontMetricsF(font).averageCharWidth());
    linkFormat_.setForeground(QGuiApplication::palette().color(QPalette::Link));
    linkFormat_.setUnderlineStyle(QTextCharFormat::SingleUnderline);
}

QTextCharFormat LineLayouts::markFormat(int sizeSteps) const {
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    format.setUnderlineStyle(QTextCharFormat::DotLine);
    if (sizeSteps > 0) {
        format.setFontPointSize(basePoints_ + sizeSteps * MarkRun::markGrowthPoints);
    }
    return format;
}

const LineLayouts::Metrics& LineLayouts::metrics(int sizeSteps) const {
    auto [entry, added] = metrics_.try_emplace(sizeSteps);
    if (added) {
        const QFontMetricsF plain(font_);
        const QFontMetricsF marked(grown(font_, basePoints_, sizeSteps));
        entry->second.ascent = std::max(plain.ascent(), marked.ascent());
        const double descent = std::max(plain.descent(), marked.descent());
        entry->second.height = static_cast<int>(std::ceil(entry->second.ascent + descent));
    }
    return entry->second;
}

int LineLayouts::lineHeight(int sizeSteps) const {
    return metrics(sizeSteps).height;
}

int LineLayouts::lineHeight(const DisplayModel& model, std::int64_t line) const {
    return lineHeight(model.lineSizeSteps(line));
}

double LineLayouts::estimatedWidth(const DisplayModel& model) const {
    return static_cast<double>(model.longestLine()) * charWidth_;
}

QTextCharFormat LineLayouts::findFormat() {
    // Amber behind black: unlike a mark (bold, dotted underline, no colour) and the selection.
    QTextCharFormat format;
    format.setBackground(QColor(0xff, 0xc8, 0x3c));
    format.setForeground(QColor(Qt::black));
    return format;
}

LaidOutLine LineLayouts::layOut(const DisplayModel& model, std::int64_t line, double left,
                                double width, const MatchFinder* matches) const {
    LaidOutLine result;
    const std::int64_t lineStart = model.lineStart(line);
    const auto length = model.lineLength(line);
    std::int64_t first = 0;
    std::int64_t last = length;
    if (length > wholeLineLimit) {
        // Narrow characters may fit twice as many as the average width says.
        const auto visible = static_cast<std::int64_t>(std::ceil(2 * width / charWidth_));
        first = std::clamp<std::int64_t>(static_cast<std::int64_t>(left / charWidth_) - sliceMargin,
                                         0, length);
        if (first > 0 && first < length && model.at(lineStart + first).isLowSurrogate()) {
            --first;
        }
        last = std::min(length, first + visible + 2 * sliceMargin);
        result.x = static_cast<double>(first) * charWidth_;
    }
    result.firstColumn = first;
    QString slice = model.mid(lineStart + first, last - first);
    // A line separator would end the layout's one line early.
    slice.replace(QChar::LineSeparator, u' ');

    QList<QTextLayout::FormatRange> formats;
    const std::int64_t from = lineStart + first;
    const std::int64_t to = lineStart + last;
    for (auto mark = model.firstMarkEndingAfter(from);
         mark != model.marks().end() && mark->start < to; ++mark) {
        const std::int64_t start = std::max(mark->start, from);
        const std::int64_t end = std::min(mark->end(), to);
        if (end > start) {
            formats.append({static_cast<int>(start - from), static_cast<int>(end - start),
                            markFormat(mark->sizeSteps)});
        }
    }

    // Matches of the find bar, over the marks: a match inside a mark shows both.
    if (matches != nullptr && *matches) {
        std::vector<std::pair<std::int64_t, std::int64_t>> found;
        (*matches)(model, from, to, found);
        const QTextCharFormat format = findFormat();
        for (const auto& [start, end] : found) {
            const std::int64_t begin = std::max(start, from);
            const std::int64_t finish = std::min(end, to);
            if (finish > begin) {
                formats.append(
                    {static_cast<int>(begin - from), static_cast<int>(finish - begin), format});
            }
        }
    }

    // Addresses look like links, over any mark.
    for (const AddressRange& link : AddressLinks::all(slice)) {
        formats.append(
            {static_cast<int>(link.start), static_cast<int>(link.end - link.start), linkFormat_});
    }

    result.layout = std::make_unique<QTextLayout>(slice, font_);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(tabStopDistance);
    result.layout->setTextOption(option);
    result.layout->setFormats(formats);
    result.layout->beginLayout();
    QTextLine textLine = result.layout->createLine();
    if (textLine.isValid()) {
        textLine.setPosition(QPointF(0, 0));
    }
    result.layout->endLayout();
    result.baseline = metrics(model.lineSizeSteps(line)).ascent;
    return result;
}

} // namespace ombrel
