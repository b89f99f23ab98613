#pragma once

#include <QLabel>

class QFontMetrics;

namespace ombrel {

/// A one-line plain-text label that shows its whole text when it fits and otherwise as many
/// whole words as fit followed by "…", so a cut never shows a shorter number. The whole text
/// stays in the tooltip and the accessible name.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    /// An empty label.
    explicit ElidedLabel(QWidget* parent = nullptr);
    /// Sets the whole text, shown cut to the label's width.
    void setFullText(const QString& text);
    /// The whole text last set.
    const QString& fullText() const { return full_; }
    /// text, or its longest run of whole words that fits width with "…" after it ("…" alone
    /// when not even the first word fits).
    static QString elideAtWords(const QString& text, int width, const QFontMetrics& metrics);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refresh();

    QString full_;
};

} // namespace ombrel
