#include "about/OpenAddress.h"

#include "about/OpenableAddress.h"
#include "app/MessageBoxes.h"

#include <QDesktopServices>

namespace ombrel {

bool openAddress(const QString& text, QWidget* reportTo) {
    const std::optional<QUrl> url = openableAddress(text);
    if (!url) {
        return false;
    }
    if (QDesktopServices::openUrl(*url)) {
        return true;
    }
    if (reportTo) {
        reportUnopenedAddress(reportTo, url->toString());
    }
    return false;
}

void reportUnopenedAddress(QWidget* owner, const QString& address) {
    openMessageBox(owner, QMessageBox::Warning, QStringLiteral("Ombrel"),
                   QStringLiteral("No program could open this address:\n%1").arg(address),
                   QStringLiteral("addressNotOpenedBox"));
}

} // namespace ombrel
