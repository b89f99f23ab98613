#include "about/OpenAddress.h"

#include "about/OpenableAddress.h"

#include <QDesktopServices>

namespace ombrel {

bool openAddress(const QString& text) {
    const std::optional<QUrl> url = openableAddress(text);
    return url && QDesktopServices::openUrl(*url);
}

} // namespace ombrel
