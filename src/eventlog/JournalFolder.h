#pragma once

#include "eventlog/FolderWatch.h"
#include "eventlog/JournalFiles.h"
#include "eventlog/JournalOpen.h"

#include <QString>
#include <QStringList>
#include <sys/types.h>
#include <vector>

namespace ombrel {

/// The chosen journal files of one folder read as one journal, opened again whenever files
/// come, go or are renamed (a machine sending for the first time, a rotation), become readable,
/// or the folder comes back after it went. Made, used and destroyed on one thread.
class JournalFolder {
public:
    /// Starts watching folder, then lists and opens its files, narrowed to hosts (none: all).
    JournalFolder(QString folder, JournalFileChoice choice, QStringList hosts);

    /// The journal; null while the folder cannot be read.
    sd_journal* journal() const { return journal_.get(); }
    /// The same files and computers opened anew, for one read: closing it after the read lets go
    /// of the file pages the library maps, which pile up over a long watch of growing files.
    /// Null when it cannot be opened (the watched journal() reads the same).
    JournalPointer openForReading() const;
    /// Takes in the journal's changes and the folder's, opening the files again when needed.
    void takeInChanges();
    /// Why the folder shows nothing or not all of its files; empty when all is well.
    QString problem() const { return problem_; }
    /// Adds what to wait on for a change to targets and lowers timeoutMs (negative: none) to
    /// when the journal, or a folder that went, is to be looked at again. 0, or errno.
    int addWaitTargets(std::vector<WaitTarget>& targets, int& timeoutMs) const;

private:
    /// One listed file, known by its path and its inode (a file made anew is another file).
    struct FileId {
        QString path;
        dev_t device = 0;
        ino_t inode = 0;
        bool operator==(const FileId&) const = default;
    };

    static std::vector<FileId> identify(const QStringList& paths);
    void open(const JournalFolderListing& listing);
    QString problemText() const;

    QString folder_;
    JournalFileChoice choice_;
    QStringList hosts_;
    FolderWatch watch_;
    std::vector<FileId> files_; // as listed at the last opening
    QStringList opened_;        // the listed files the journal holds
    std::vector<SkippedFile> skipped_;
    int error_ = 0; // errno when the folder could not be read or opened at the last opening
    JournalPointer journal_;
    int descriptor_ = -1; // the journal's, or -errno when it could not be watched
    QString problem_;
};

} // namespace ombrel
