#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

namespace ombrel::test {

/// Takes the addresses the program hands to the desktop (see QDesktopServices::setUrlHandler),
/// so no browser starts in a test.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls; ///< every address handed over, in order
public Q_SLOTS:
    /// Records url.
    void open(const QUrl& url) { urls.append(url); }
};

} // namespace ombrel::test
