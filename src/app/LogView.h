#pragma once

#include <QPlainTextEdit>

namespace ombrel {

/// The display: read-only plain text, no wrapping, scrolling both ways.
class LogView : public QPlainTextEdit {
    Q_OBJECT
public:
    /// Creates an empty display named "Display" for assistive tools.
    explicit LogView(QWidget* parent = nullptr);
    /// Replaces the whole text; the text is never interpreted as markup.
    void replaceText(const QString& text);
    /// Puts the caret after the last line and scrolls it into view.
    void scrollToEnd();
};

} // namespace ombrel
