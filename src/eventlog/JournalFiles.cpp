#include "eventlog/JournalFiles.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <unistd.h>

namespace ombrel {

namespace {
bool canRead(const QString& path) {
    // Opening is the one true test: permissions, access lists and the process's groups.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}
} // namespace

bool isJournalFileOf(const QString& name, JournalKind kind, unsigned uid) {
    const QString prefix =
        kind == JournalKind::System ? QStringLiteral("system") : QStringLiteral("user-%1").arg(uid);
    const QString full = prefix + QStringLiteral(".journal");
    if (name == full || name == full + u'~') {
        return true;
    }
    return name.startsWith(prefix + u'@') && (name.endsWith(QStringLiteral(".journal")) ||
                                              name.endsWith(QStringLiteral(".journal~")));
}

JournalFileCount countJournalFiles(const QStringList& folders, JournalKind kind, unsigned uid) {
    JournalFileCount count;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            if (isJournalFileOf(name, kind, uid)) {
                ++count.found;
                count.readable += canRead(dir.filePath(name)) ? 1 : 0;
            }
        }
    }
    return count;
}

QString journalFilesProblem(const JournalFileCount& count, const QString& directory) {
    if (count.readable > 0) {
        return {};
    }
    if (count.found == 0) {
        return directory.isEmpty() ? QStringLiteral("No journal files found")
                                   : QStringLiteral("No journal files in %1").arg(directory);
    }
    return directory.isEmpty()
               ? QStringLiteral(
                     "No journal files readable: add yourself to the systemd-journal group")
               : QStringLiteral("No journal files readable in %1").arg(directory);
}

} // namespace ombrel
