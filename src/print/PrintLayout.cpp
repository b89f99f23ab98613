#include "print/PrintLayout.h"

#include "display/DisplayModel.h"

#include <QAbstractTextDocumentLayout>
#include <QFontInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>

namespace ombrel {

PrintLayout::PrintLayout(std::shared_ptr<const DisplayModel> model, const QFont& font)
    : model_(model ? std::move(model) : std::make_shared<const DisplayModel>()) {
    build(font);
}

void PrintLayout::build(const QFont& font) {
    document_.setUndoRedoEnabled(false);
    document_.setDocumentMargin(0);
    document_.setDefaultFont(font);
    QTextOption option = document_.defaultTextOption();
    // Log lines often hold long runs without blanks; on paper they wrap anywhere rather than
    // run off the edge.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document_.setDefaultTextOption(option);
    document_.setPlainText(model_->text());

    // Marks grow in points, as on the screen; a font sized in pixels is asked for its points.
    const double basePoints =
        font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
    QTextCursor cursor(&document_);
    cursor.beginEditBlock();
    for (const MarkRun& mark : model_->marks()) {
        QTextCharFormat format;
        format.setFontWeight(QFont::Bold);
        format.setUnderlineStyle(QTextCharFormat::DotLine);
        if (mark.sizeSteps > 0) {
            format.setFontPointSize(basePoints + mark.sizeSteps * MarkRun::markGrowthPoints);
        }
        cursor.setPosition(static_cast<int>(mark.start));
        cursor.setPosition(static_cast<int>(std::min(mark.end(), model_->size())),
                           QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
    cursor.endEditBlock();
}

int PrintLayout::paginate(QPagedPaintDevice& device) {
    const QRectF paper(QPointF(0, 0), QSizeF(device.width(), device.height()));
    const double marginX = marginInches * device.logicalDpiX();
    const double marginY = marginInches * device.logicalDpiY();
    textArea_ = paper.adjusted(marginX, marginY, -marginX, -marginY);
    // Paper smaller than two inches still gets a line's worth of room, so every page advances.
    textArea_.setWidth(std::max(textArea_.width(), 1.0));
    textArea_.setHeight(std::max(textArea_.height(), 1.0));

    // Measured with the device's own fonts, so the breaks are those that will print. Laying
    // out a long text takes a while: the dialog left paper and printer as they were, the
    // layout made before it stands.
    const LaidOutFor setup{&device, textArea_.size(), device.logicalDpiX(), device.logicalDpiY()};
    if (setup == laidOutFor_) {
        return pageCount_;
    }
    document_.documentLayout()->setPaintDevice(&device);
    document_.setPageSize(textArea_.size());
    pageCount_ = std::max(document_.pageCount(), 1);
    laidOutFor_ = setup;
    return pageCount_;
}

void PrintLayout::drawPage(QPainter& painter, int page) const {
    if (page < 0 || page >= pageCount_) {
        return;
    }
    // Line by line rather than the whole layout under a clip: a clip hides the lines of the
    // pages around this one on paper, but a PDF would still carry their text.
    const double height = textArea_.height();
    const double pageTop = page * height;
    QAbstractTextDocumentLayout* layout = document_.documentLayout();
    const int first = layout->hitTest(QPointF(0, pageTop), Qt::FuzzyHit);
    painter.save();
    painter.setPen(Qt::black);
    for (QTextBlock block = document_.findBlock(std::max(first, 0)); block.isValid();
         block = block.next()) {
        const QPointF blockTop = layout->blockBoundingRect(block).topLeft();
        if (blockTop.y() >= pageTop + height) {
            break;
        }
        const QTextLayout* lines = block.layout();
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            const double top = blockTop.y() + line.y();
            // The layout moves a line that would cross a page's end onto the next page, so a
            // line belongs to the page its top is on.
            if (top >= pageTop && top < pageTop + height) {
                line.draw(&painter,
                          textArea_.topLeft() + QPointF(blockTop.x(), blockTop.y() - pageTop));
            }
        }
    }
    painter.restore();
}

} // namespace ombrel
