#pragma once

#include "eventlog/RecordSource.h"

#include <QString>
#include <QStringList>

namespace ombrel {

/// How many journal files of one kind some folders hold, and how many of them can be read.
struct JournalFileCount {
    int found = 0;    ///< files named as the kind's journal files
    int readable = 0; ///< of those, files this process may open for reading
    int others = 0;   ///< journal files of other journals (the other kind, other users)
};

/// True when name is one of kind's journal files, as the journal library picks them:
/// "system.journal", "system.journal~", "system@..." for the system journal and the same with
/// "user-UID" for the user's.
bool isJournalFileOf(const QString& name, JournalKind kind, unsigned uid);

/// Counts kind's journal files, and the others, directly inside each folder (missing folders
/// hold none).
JournalFileCount countJournalFiles(const QStringList& folders, JournalKind kind, unsigned uid);

/// The message-pane text that tells why kind's journal shows nothing: no journal files at all,
/// none of kind's (naming its file, for user uid), or none that can be read; naming directory
/// when the files come from one. Empty when at least one file can be read.
QString journalFilesProblem(const JournalFileCount& count, const QString& directory,
                            JournalKind kind, unsigned uid);

} // namespace ombrel
