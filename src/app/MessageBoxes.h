#pragma once

#include <QMessageBox>
#include <QString>

namespace ombrel {

/// Opens a window-modal message box with an OK button over owner, without a nested event loop
/// (monitoring goes on while it is up); the box deletes itself when closed.
QMessageBox* openMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                            const QString& text, const QString& objectName);

} // namespace ombrel
