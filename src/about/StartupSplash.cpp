#include "about/StartupSplash.h"

#include "about/ArchivePicture.h"
#include "about/SplashWindow.h"
#include "archive/ResourceArchive.h"

#include <QApplication>
#include <QMessageBox>

namespace ombrel {

bool passStartupSplash(const QString& archivePath, bool showSplash) {
    auto archive = ResourceArchive::open(archivePath);
    if (!archive) {
        reportCorruptInstallation();
        return false;
    }
    if (showSplash) {
        const QImage picture = decodeBmpMember(*archive, "images\\splash.bmp");
        archive.reset(); // not held while the splash is up
        SplashWindow splash(picture, QApplication::activeWindow());
        if (picture.isNull()) {
            reportMissingPicture(&splash);
        }
        splash.exec();
    }
    return true;
}

void reportCorruptInstallation() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Ombrel"),
                    QStringLiteral("It appears that the installation for Ombrel is corrupt.\n\n"
                                   "  Please reinstall the software to continue to use it."),
                    QMessageBox::Ok);
    box.setObjectName(QStringLiteral("corruptInstallationBox"));
    box.exec();
}

} // namespace ombrel
