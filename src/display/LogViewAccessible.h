#pragma once

#include <QAccessibleWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

namespace ombrel {

class DisplayModel;
class LogView;

/// What screen readers see of the display: its text, caret and selection, and for each marked
/// run the attributes of its look (bold weight, dotted underline, font size), read straight
/// from the display's model.
class LogViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    /// The interface of view.
    explicit LogViewAccessible(LogView* view);

    /// Makes every LogView answer with this interface; call it as often as wanted.
    static void install();
    /// Old and new text together up to this many characters go with a change of text.
    static constexpr std::int64_t largestTextChange = std::int64_t{1} << 20;
    /// What to tell assistive tools when view has just replaced previous by its model: the
    /// whole change, or for texts too large to hand over on the window's thread, only that
    /// the shown data changed.
    static std::unique_ptr<QAccessibleEvent> textChange(LogView* view,
                                                        const DisplayModel& previous);

    /// The text interface besides the widget's own.
    void* interface_cast(QAccessible::InterfaceType type) override;
    /// Read-only, several lines, selectable.
    QAccessible::State state() const override;
    /// The value is the whole text.
    QString text(QAccessible::Text type) const override;

    // The text interface, in display positions (one character per line end); attributes
    // gives the run of one look around an offset. Characters, words, sentences and lines are
    // found in the text around the offset, never in a copy of the whole text, and a character
    // above U+FFFF counts as one.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    using Span = std::pair<std::int64_t, std::int64_t>;

    LogView* view() const;
    Span itemAt(std::int64_t position, QAccessible::TextBoundaryType boundaryType) const;
    Span textItemAt(std::int64_t position, QAccessible::TextBoundaryType boundaryType) const;
    QString answer(std::optional<Span> item, int* startOffset, int* endOffset) const;
};

} // namespace ombrel
