#include "about/ManualLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ombrel {

ManualSearchDirs ManualSearchDirs::forThisProcess() {
    return {QCoreApplication::applicationDirPath(), QStringLiteral(OMBREL_MANUAL_DATADIR)};
}

QString findManualContents(const ManualSearchDirs& dirs) {
    for (const QString& dir : {dirs.executableDir, dirs.dataDir}) {
        if (dir.isEmpty()) {
            continue;
        }
        const QString page = QDir(dir).filePath(QStringLiteral("manual/index.html"));
        if (QFileInfo(page).isFile()) {
            return QFileInfo(page).absoluteFilePath();
        }
    }
    return {};
}

} // namespace ombrel
