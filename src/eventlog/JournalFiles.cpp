#include "eventlog/JournalFiles.h"

#include <QFile>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <unistd.h>

namespace ombrel {

namespace {

bool canRead(const QString& path) {
    // Opening is the one true test: permissions, access lists and the process's groups. Never
    // blocking: a pipe named as a journal file would wait for a writer for ever.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
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

bool hasJournalSuffix(const QString& name) {
    return name.endsWith(QStringLiteral(".journal")) || name.endsWith(QStringLiteral(".journal~"));
}

/// A file of the journal named prefix: "PREFIX.journal", "PREFIX.journal~" or "PREFIX@...".
bool hasJournalPrefix(const QString& name, const QString& prefix) {
    const QString full = prefix + QStringLiteral(".journal");
    return name == full || name == full + u'~' ||
           (name.startsWith(prefix + u'@') && hasJournalSuffix(name));
}

/// A machine ID as the journal library names its subfolders: 32 hexadecimal digits, or 36 in
/// the 8-4-4-4-12 form.
bool isMachineIdName(const QString& name) {
    const auto hex = [](QChar c) { return std::isxdigit(static_cast<unsigned char>(c.unicode())); };
    if (name.size() == 32) {
        return std::all_of(name.begin(), name.end(), hex);
    }
    if (name.size() != 36) {
        return false;
    }
    for (qsizetype i = 0; i < name.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? name[i] != u'-' : !hex(name[i])) {
            return false;
        }
    }
    return true;
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

/// Calls file(path, name) for each journal file directly in folder and, when withSubfolders, in
/// its machine-ID subfolders, and subfolder(path) for each of those. The folder's errno, or 0.
int scanFolder(const QString& folder, bool withSubfolders,
               const std::function<void(const QString&, const QString&)>& file,
               const std::function<void(const QString&)>& subfolder) {
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(QFile::encodeName(folder).constData()));
    if (!dir) {
        return errno;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        const QString name = QFile::decodeName(entry->d_name);
        const unsigned char type = entry->d_type;
        const bool fileLike = type == DT_REG || type == DT_LNK || type == DT_UNKNOWN;
        const bool folderLike = type == DT_DIR || type == DT_LNK || type == DT_UNKNOWN;
        if (fileLike && hasJournalSuffix(name)) {
            file(journalFilePath(folder, name), name);
        } else if (withSubfolders && folderLike && isMachineIdName(name)) {
            const QString path = journalFilePath(folder, name);
            // One level only, as the library reads a folder; one that cannot be read has none.
            if (scanFolder(path, false, file, {}) == 0 && subfolder) {
                subfolder(path);
            }
        }
    }
    return 0;
}

} // namespace

QString journalFilePath(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

bool isUserJournalFile(const QString& name) {
    if (!name.startsWith(QStringLiteral("user-"))) {
        return false;
    }
    qsizetype end = 5;
    while (end < name.size() && name[end].isDigit() && name[end].unicode() < 128) {
        ++end;
    }
    return end > 5 && hasJournalPrefix(name, name.first(end));
}

bool isJournalFileOf(const QString& name, const JournalFileChoice& choice) {
    if (choice.kind == JournalKind::CurrentUser) {
        return hasJournalPrefix(name, QStringLiteral("user-%1").arg(choice.uid));
    }
    if (choice.namedFolder) {
        return hasJournalSuffix(name) && !isUserJournalFile(name);
    }
    return hasJournalPrefix(name, QStringLiteral("system"));
}

JournalFolderListing listJournalFolder(const QString& folder, const JournalFileChoice& choice) {
    JournalFolderListing listing;
    listing.error = scanFolder(
        folder, choice.namedFolder,
        [&](const QString& path, const QString& name) {
            if (isJournalFileOf(name, choice)) {
                listing.files.append(path);
            }
        },
        [&](const QString& path) { listing.subfolders.append(path); });
    listing.files.sort();
    listing.subfolders.sort();
    return listing;
}

JournalFileCount countJournalFiles(const QStringList& folders, const JournalFileChoice& choice) {
    JournalFileCount count;
    for (const QString& folder : folders) {
        scanFolder(folder, choice.namedFolder,
                   [&](const QString& path, const QString& name) {
                       if (isJournalFileOf(name, choice)) {
                           ++count.found;
                           count.readable += canRead(path) ? 1 : 0;
                       } else {
                           ++count.others;
                       }
                   },
                   {});
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
