#pragma once

#include <QFont>
#include <QRectF>
#include <QTextDocument>
#include <memory>

class QPainter;
class QPagedPaintDevice;

namespace ombrel {

class DisplayModel;

/// The display's text laid out on paper: the text with its marks (bold, dotted underline,
/// larger) in the display's font, wrapped at the width of the paper less one inch on each
/// side, and cut into pages. Built only for printing, from a model that no update changes.
class PrintLayout {
public:
    /// One inch of margin on every edge of the paper.
    static constexpr double marginInches = 1.0;

    /// A layout of model's text in font; nothing is laid out until paginate().
    PrintLayout(std::shared_ptr<const DisplayModel> model, const QFont& font);

    /// Lays the text out for the paper of device (set to full-page coordinates) and returns
    /// the number of pages, at least 1. Call again after the paper changes.
    int paginate(QPagedPaintDevice& device);
    /// Pages of the last paginate().
    int pageCount() const { return pageCount_; }
    /// The text area of the last paginate(), in the device's pixels from the paper's corner.
    QRectF textArea() const { return textArea_; }
    /// Draws page (0-based, below pageCount()) with painter, which paints on the paginated device.
    void drawPage(QPainter& painter, int page) const;

private:
    void build(const QFont& font);

    // What the current layout was made for.
    struct LaidOutFor {
        const QPaintDevice* device = nullptr;
        QSizeF page;
        int dpiX = 0;
        int dpiY = 0;
        friend bool operator==(const LaidOutFor&, const LaidOutFor&) = default;
    };

    std::shared_ptr<const DisplayModel> model_;
    QTextDocument document_;
    QRectF textArea_;
    int pageCount_ = 0;
    LaidOutFor laidOutFor_;
};

} // namespace ombrel
