#include "about/OpenableAddress.h"

namespace ombrel {

std::optional<QUrl> openableAddress(const QString& text) {
    // Surrounding blanks are the only forgiveness: a browser never sees a repaired address.
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.isRelative()) {
        return std::nullopt;
    }
    const QString scheme = url.scheme(); // QUrl lower-cases it
    if (scheme == u"mailto") {
        return url.path().isEmpty() ? std::nullopt : std::optional<QUrl>(url);
    }
    if (scheme == u"http" || scheme == u"https" || scheme == u"ftp") {
        return url.host().isEmpty() ? std::nullopt : std::optional<QUrl>(url);
    }
    return std::nullopt;
}

} // namespace ombrel
