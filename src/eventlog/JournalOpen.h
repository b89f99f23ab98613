#pragma once

#include "eventlog/JournalEntry.h"
#include "eventlog/StopSignal.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct sd_journal;

namespace ombrel {

/// Closes a journal.
struct JournalCloser {
    void operator()(sd_journal* journal) const;
};

/// An open journal, closed with its owner.
using JournalPointer = std::unique_ptr<sd_journal, JournalCloser>;

/// A journal file that was left out, and why (errno).
struct SkippedFile {
    QString path;
    int error = 0;
};

/// Files opened as one journal.
struct OpenedFiles {
    JournalPointer journal;           ///< null only when the library itself failed (error)
    std::vector<SkippedFile> skipped; ///< files it would not open: damaged or unreadable
    int error = 0;                    ///< errno when no journal could be made
};

/// Opens paths as one journal, leaving out the files the library will not open (damaged or
/// unreadable ones, told in skipped) and those gone meanwhile (not told: a rotation or a
/// removal). No paths give a journal without files.
OpenedFiles openJournalFiles(const QStringList& paths);

/// True when the library opens path as a journal file.
bool opensAsJournal(const QString& path);

/// Narrows journal to the entries of any of hosts (by _HOSTNAME), with the library's own
/// matches; none narrows nothing. 0, or a negative errno.
int matchHosts(sd_journal* journal, const QStringList& hosts);

/// Adds the journal's descriptor (from sd_journal_get_fd) to targets with the events to wait for,
/// and lowers timeoutMs (negative: none) to the journal's own deadline. 0, or errno.
int addJournalWaitTarget(sd_journal* journal, int descriptor, std::vector<WaitTarget>& targets,
                         int& timeoutMs);

/// The fields of the journal's current entry; fields that cannot be read (compressed with a
/// method this library lacks) are left out.
JournalFields currentJournalFields(sd_journal* journal);

/// timeoutMs lowered to limitMs, where a negative value is no limit.
int soonerTimeout(int timeoutMs, int limitMs);

} // namespace ombrel
