#pragma once

#include "eventlog/EventRecord.h"
#include "eventlog/JournalOpen.h"
#include "eventlog/StopSignal.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <sys/types.h>
#include <vector>

struct sd_journal;

namespace ombrel {

/// One journal file of a folder: where it lies and which file it is (a file renamed by a
/// rotation is the same file, one made anew under an old name another).
struct JournalFileId {
    QString path;
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const JournalFileId&) const = default;
};

/// Which files changed since the last read.
struct JournalChanges {
    QSet<QString> paths; ///< files written to
    bool all = true;     ///< every file may have changed (first read, files came or went)
};

/// The newest entries of many journal files, merged by their realtime stamps as journalctl
/// orders entries of several machines. Each file is opened only for a read, so the pages the
/// library maps of growing files are let go of, and only when it changed: what was read is
/// kept, and a read takes in what each changed file gained since its last entry read, late
/// stamps of lagging clocks included. Made, used and destroyed on one thread.
class JournalMerge {
public:
    /// Reads the entries of hosts only (by _HOSTNAME); none: all.
    explicit JournalMerge(QStringList hosts);

    /// The newest min(count, total) entries of files, oldest first. Reads every file anew at
    /// the first read, for another count, or when a file read before is gone; otherwise only
    /// the changed files and those new since. Early with what it has when stop is raised.
    std::vector<EventRecord> newest(const std::vector<JournalFileId>& files,
                                    const JournalChanges& changes, std::int64_t count,
                                    const StopSignal& stop);

    /// Closes the files the last read opened; they stay open until then, or the next read.
    void release() { opened_.clear(); }

private:
    struct Entry {
        std::uint64_t realtime = 0;
        EventRecord record;
    };
    /// What was read of one file: its newest entry (cursor), empty when none was.
    struct FileState {
        dev_t device = 0;
        ino_t inode = 0;
        QByteArray cursor;
    };

    FileState* stateOf(const JournalFileId& file);
    bool readAll(const std::vector<JournalFileId>& files, std::int64_t count,
                 const StopSignal& stop);
    bool readChanged(const std::vector<JournalFileId>& files, const JournalChanges& changes,
                     std::int64_t count, const StopSignal& stop);
    Entry entryAt(sd_journal* journal);

    QStringList hosts_;
    std::vector<FileState> states_;
    std::vector<JournalPointer> opened_; // by the last read, until released
    std::vector<Entry> kept_;            // the newest count entries read, oldest first
    std::int64_t count_ = -1;            // -1: nothing read yet, or a read that was stopped
    QSet<QString> names_; // each machine's name and ID held once, however many entries
};

} // namespace ombrel
