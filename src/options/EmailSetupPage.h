#pragma once

#include <QWidget>

namespace ombrel {

/// The "Email Setup" page: its fields start empty and are never read, kept or used.
class EmailSetupPage : public QWidget {
    Q_OBJECT
public:
    /// Builds the empty page.
    explicit EmailSetupPage(QWidget* parent = nullptr);
};

} // namespace ombrel
