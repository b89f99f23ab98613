#pragma once

#include "eventlog/RecordSource.h"

#include <QString>
#include <QStringList>

namespace ombrel {

/// Which journal files a source reads.
struct JournalFileChoice {
    JournalKind kind = JournalKind::System; ///< the system journal or the user's
    unsigned uid = 0;                       ///< the user whose journal CurrentUser reads
    /// A folder the user named: its system journal is every journal file in it that is not a
    /// user journal ("remote-HOST" files of collected machines too), as journalctl -D reads
    /// them, and its machine-ID subfolders are read as well. Otherwise only "system" files.
    bool namedFolder = false;
};

/// How many journal files of one kind some folders hold, and how many of them can be read.
struct JournalFileCount {
    int found = 0;    ///< files named as the kind's journal files
    int readable = 0; ///< of those, files this process may open for reading
    int others = 0;   ///< journal files of other journals (the other kind, other users)
};

/// The journal files of a choice in one folder, and the subfolders they may come from.
struct JournalFolderListing {
    QStringList files;      ///< full paths, sorted
    QStringList subfolders; ///< machine-ID subfolders read (named folders only), sorted
    int error = 0;          ///< errno when the folder itself could not be read
};

/// The path of the file name in folder, as listJournalFolder gives it.
QString journalFilePath(const QString& folder, const QString& name);

/// True for a user journal's file: "user-UID.journal", "user-UID.journal~", "user-UID@...".
bool isUserJournalFile(const QString& name);

/// True when name is one of the chosen journal's files, as the journal library picks them:
/// "system.journal", "system.journal~", "system@..." for the system journal (any journal file
/// but a user's in a named folder) and the same with "user-UID" for the user's.
bool isJournalFileOf(const QString& name, const JournalFileChoice& choice);

/// The chosen journal's files in folder (and, for a named folder, in its machine-ID
/// subfolders, as the journal library reads a folder).
JournalFolderListing listJournalFolder(const QString& folder, const JournalFileChoice& choice);

/// Counts the chosen journal's files, and the others, in each folder (and in a named folder's
/// machine-ID subfolders); missing folders hold none.
JournalFileCount countJournalFiles(const QStringList& folders, const JournalFileChoice& choice);

/// The message-pane text that tells why kind's journal shows nothing: no journal files at all,
/// none of kind's (naming its file, for user uid), or none that can be read; naming directory
/// when the files come from one. Empty when at least one file can be read.
QString journalFilesProblem(const JournalFileCount& count, const QString& directory,
                            JournalKind kind, unsigned uid);

} // namespace ombrel
