#pragma once

#include <QString>

namespace ombrel {

/// The folders where the program looks for its resource archive, in this order.
struct ArchiveSearchDirs {
    /// The process's current folder (where the archive is looked for first).
    QString currentDir;
    /// The folder of the running executable.
    QString executableDir;
    /// The installed data folder.
    QString dataDir;

    /// The folders of this process; needs a QCoreApplication for the executable's folder.
    static ArchiveSearchDirs forThisProcess();
};

/// File name of the program's resource archive.
QString archiveFileName();

/// The first existing archive file in dirs' current, executable and data folders (an empty
/// folder is skipped). When none exists, the path in the current folder, so that opening it
/// fails the way a missing archive does.
QString findArchivePath(const ArchiveSearchDirs& dirs);

} // namespace ombrel
