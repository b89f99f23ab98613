#include "app/ModalDialogs.h"

namespace ombrel {

bool ModalDialogs::run(QDialog& dialog) {
    if (busy()) {
        return false;
    }
    open_ = &dialog;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    open_ = nullptr;
    return accepted;
}

bool ModalDialogs::cancelOpen() {
    if (!busy()) {
        return false;
    }
    open_->reject();
    return true;
}

} // namespace ombrel
