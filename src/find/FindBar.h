#pragma once

#include "find/FindQuery.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QToolButton;

namespace ombrel {

class ElidedLabel;

/// The find bar below the display: the find box, "Match case", "Regular expression", "Whole
/// words", Previous, Next, Close and the count. Enter and Shift+Enter in the box go to the next
/// and previous match; Escape anywhere in the bar closes the bar, never the window.
class FindBar : public QWidget {
    Q_OBJECT
public:
    /// A hidden bar.
    explicit FindBar(QWidget* parent = nullptr);

    /// What the controls ask for now.
    FindQuery query() const;
    /// Shows the bar with the focus in the box, its text selected.
    void open();
    /// Puts text where the count goes (the count, "No matches", an error).
    void setCountText(const QString& text);
    /// The text where the count goes.
    QString countText() const;
    /// The height the bar needs.
    int barHeight() const { return sizeHint().height(); }

Q_SIGNALS:
    /// The text or a choice changed.
    void queryChanged();
    /// Next match (Next, Enter in the box).
    void nextRequested();
    /// Previous match (Previous, Shift+Enter in the box).
    void previousRequested();
    /// The bar was closed (Close, Escape).
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void close();

    QLineEdit* box_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* regex_ = nullptr;
    QCheckBox* wholeWords_ = nullptr;
    QToolButton* previous_ = nullptr;
    QToolButton* next_ = nullptr;
    QToolButton* close_ = nullptr;
    ElidedLabel* count_ = nullptr;
};

} // namespace ombrel
