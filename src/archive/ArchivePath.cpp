#include "archive/ArchivePath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ombrel {

ArchiveSearchDirs ArchiveSearchDirs::forThisProcess() {
    return {QDir::currentPath(), QCoreApplication::applicationDirPath(),
            QStringLiteral(OMBREL_ARCHIVE_DATADIR)};
}

QString archiveFileName() {
    return QStringLiteral("ombrel.omf");
}

QString findArchivePath(const ArchiveSearchDirs& dirs) {
    // Started from a desktop menu, the current folder is the home folder, which rarely holds
    // the archive; the executable's and the installed data folders come next.
    for (const QString& dir : {dirs.currentDir, dirs.executableDir, dirs.dataDir}) {
        if (dir.isEmpty()) {
            continue;
        }
        const QString candidate = QDir(dir).filePath(archiveFileName());
        if (QFileInfo(candidate).isFile()) {
            return candidate;
        }
    }
    return dirs.currentDir.isEmpty() ? archiveFileName()
                                     : QDir(dirs.currentDir).filePath(archiveFileName());
}

} // namespace ombrel
