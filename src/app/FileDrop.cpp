#include "app/FileDrop.h"

#include <QMimeData>
#include <QUrl>

namespace ombrel {

QString FileDrop::firstLocalFile(const QMimeData& data) {
    if (!data.hasUrls()) {
        return {};
    }
    const QList<QUrl> urls = data.urls();
    // Only the first one counts, as a drop of several files watches the first.
    if (urls.isEmpty() || !urls.first().isLocalFile()) {
        return {};
    }
    return urls.first().toLocalFile();
}

} // namespace ombrel
