#pragma once

#include <QPlainTextEdit>

namespace ombrel {

/// The display: read-only plain text, no wrapping, scrolling both ways.
class LogView : public QPlainTextEdit {
    Q_OBJECT
public:
    /// Creates an empty display named "Display" for assistive tools.
    explicit LogView(QWidget* parent = nullptr);
};

} // namespace ombrel
