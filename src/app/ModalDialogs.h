#pragma once

#include <QDialog>
#include <QPointer>

namespace ombrel {

/// Runs the main window's modal dialogs one at a time, so that a second one asked for from
/// another menu does not stack on the first, and lets a close request end the open one first.
class ModalDialogs {
public:
    /// Runs dialog modally unless another one is open; true when it was accepted.
    bool run(QDialog& dialog);
    /// A dialog is open.
    bool busy() const { return !open_.isNull(); }
    /// Ends the open dialog as if cancelled; false when none is open.
    bool cancelOpen();

private:
    QPointer<QDialog> open_;
};

} // namespace ombrel
