#pragma once

#include "display/DisplayModel.h"
#include "display/LineLayouts.h"
#include "display/SelectionMemo.h"

#include <QAbstractScrollArea>
#include <QMenu>
#include <QMimeData>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace ombrel {

/// The display: a read-only view of a DisplayModel that lays out and paints only the lines on
/// the screen, without wrapping, scrolling both ways, with a caret and a selection that copy as
/// plain text. Replacing the model costs the same for any size of text.
class LogView : public QAbstractScrollArea {
    Q_OBJECT
public:
    /// Finds the clickable range (a link) around a position of a model, if any.
    using LinkFinder =
        std::function<std::optional<TextSelection>(const DisplayModel&, std::int64_t position)>;

    /// Creates an empty display named "Display" for assistive tools.
    explicit LogView(QWidget* parent = nullptr);
    ~LogView() override;

    /// Shows model and ends the view on its last line. A selection whose text is still there
    /// stays selected, else the caret goes after the last line. The previous model is let go
    /// of on a worker thread. Null shows an empty text.
    void setModel(std::shared_ptr<const DisplayModel> model);
    /// What is shown, for printing and for assistive tools; never null.
    const std::shared_ptr<const DisplayModel>& model() const { return model_; }
    /// The shown text, lines separated by '\n' (a copy: see DisplayModel::text).
    QString text() const { return model_->text(); }

    /// The caret and the selection (equal ends: no selection).
    const TextSelection& selection() const { return selection_; }
    /// Selects from anchor to caret (clamped to the text) and brings the caret into view. An end
    /// inside a character above U+FFFF moves out of it: a selection takes the character whole,
    /// a lone caret steps over it the way it moved.
    void setSelection(std::int64_t anchor, std::int64_t caret);
    /// The selected text, lines separated by '\n'.
    QString selectedText() const;
    /// Selects the whole text.
    void selectAll();
    /// Puts the selected text on the clipboard as plain text; nothing when none is selected.
    void copy();
    /// What the primary selection (X11) is given for the selection: its text as plain text,
    /// made when pasted and kept whatever the view shows later; null when none is selected.
    std::unique_ptr<QMimeData> selectionMimeData() const;
    /// Scrolls so the last line is at the bottom of the view.
    void scrollToEnd();
    /// The first line at the top of the view.
    std::int64_t firstVisibleLine() const;
    /// Pixel height of line of the shown model.
    int lineHeight(std::int64_t line) const;
    /// Screen rectangle (viewport coordinates) of the character at position; empty when the
    /// line is out of view.
    QRect characterRect(std::int64_t position) const;
    /// The position nearest to a viewport point.
    std::int64_t positionAt(const QPoint& point) const;
    /// The context menu: Copy (with a selection) and Select All.
    std::unique_ptr<QMenu> createContextMenu();
    /// Decides which ranges are clickable; linkActivated reports a click on one.
    void setLinkFinder(LinkFinder finder) { linkFinder_ = std::move(finder); }
    /// Decides which ranges show as find matches (null: none), and repaints.
    void setMatchFinder(MatchFinder finder);

Q_SIGNALS:
    /// A new model is shown.
    void modelChanged();
    /// A clickable range was clicked.
    void linkActivated(std::int64_t start, std::int64_t end);
    /// The selection or the caret moved.
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void updateScrollBars();
    std::int64_t topLineForEnd() const;
    std::int64_t visibleLineCount() const;
    void moveCaret(std::int64_t position, bool extend);
    std::int64_t characterEdge(std::int64_t position, bool forward) const;
    void ensureCaretVisible();
    double caretX() const;
    std::int64_t lineAtY(int y) const;
    std::int64_t verticalMove(std::int64_t lines) const;
    std::int64_t wordMove(std::int64_t position, bool forward) const;
    void selectWordAt(std::int64_t position);
    void notifySelection();
    void notifyTextChange(const DisplayModel& previous);
    void offerSelection();

    std::shared_ptr<const DisplayModel> model_;
    std::unique_ptr<LineLayouts> layouts_;
    TextSelection selection_;
    double contentWidth_ = 0;
    bool dragging_ = false;
    std::optional<TextSelection> pressedLink_;
    LinkFinder linkFinder_;
    MatchFinder matchFinder_;
    std::int64_t notifiedCaret_ = -1; // the caret position assistive tools last heard of
};

} // namespace ombrel
