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

/// The name of kind's active journal file.
QString activeFileOf(JournalKind kind, unsigned uid) {
    return kind == JournalKind::System ? QStringLiteral("system.journal")
                                       : QStringLiteral("user-%1.journal").arg(uid);
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
            } else if (name.endsWith(QStringLiteral(".journal")) ||
                       name.endsWith(QStringLiteral(".journal~"))) {
                ++count.others;
            }
        }
    }
    return count;
}

QString journalFilesProblem(const JournalFileCount& count, const QString& directory,
                            JournalKind kind, unsigned uid) {
    if (count.readable > 0) {
        return {};
    }
    if (count.found == 0 && count.others > 0) {
        // "No journal files" would be wrong: the folder holds journals, only not this one.
        const QString missing = kind == JournalKind::System
                                    ? QStringLiteral("No system journal (%1)")
                                    : QStringLiteral("No journal of this user (%1)");
        const QString where = directory.isEmpty() ? QStringLiteral(" found")
                                                  : QStringLiteral(" in %1").arg(directory);
        return missing.arg(activeFileOf(kind, uid)) + where;
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
