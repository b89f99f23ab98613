#include "app/MessageBoxes.h"

namespace ombrel {

QMessageBox* openMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                            const QString& text, const QString& objectName) {
    auto* box = new QMessageBox(icon, title, text, QMessageBox::Ok, owner);
    box->setObjectName(objectName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}

} // namespace ombrel
