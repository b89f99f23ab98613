#include "eventlog/JournalFolder.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/stat.h>
#include <systemd/sd-journal.h>

namespace ombrel {

namespace {

constexpr int lookAgainMs = 1000; // a folder that went, or a file left out, is looked at again

QString reasonText(int error) {
    // The library's words for a file it cannot make sense of say little to a reader.
    if (error == EBADMSG || error == ENODATA) {
        return QStringLiteral("damaged or truncated");
    }
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

JournalFolder::JournalFolder(QString folder, JournalFileChoice choice, QStringList hosts)
    : folder_(std::move(folder)), choice_(choice), hosts_(std::move(hosts)), watch_(folder_) {
    // Watched first: a file that comes while the folder is listed is not missed.
    open(listJournalFolder(folder_, choice_));
}

std::vector<JournalFolder::FileId> JournalFolder::identify(const QStringList& paths) {
    std::vector<FileId> files;
    files.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString& path : paths) {
        struct stat status {};
        FileId id{path, 0, 0};
        if (::stat(QFile::encodeName(path).constData(), &status) == 0) {
            id.device = status.st_dev;
            id.inode = status.st_ino;
        }
        files.push_back(std::move(id));
    }
    return files;
}

void JournalFolder::open(const JournalFolderListing& listing) {
    for (const QString& subfolder : listing.subfolders) {
        watch_.addSubfolder(subfolder);
    }
    error_ = listing.error;
    files_ = identify(listing.files);
    skipped_.clear();
    opened_.clear();
    journal_.reset();
    descriptor_ = -1;
    if (error_ == 0) {
        OpenedFiles opened = openJournalFiles(listing.files);
        skipped_ = std::move(opened.skipped);
        opened_ = listing.files;
        for (const SkippedFile& file : skipped_) {
            opened_.removeOne(file.path);
        }
        error_ = opened.error;
        if (opened.journal) {
            if (const int matched = matchHosts(opened.journal.get(), hosts_); matched < 0) {
                error_ = -matched;
            } else {
                journal_ = std::move(opened.journal);
                // Watched at once, before any read: no change after the opening is missed.
                descriptor_ = sd_journal_get_fd(journal_.get());
            }
        }
    }
    problem_ = problemText();
}

JournalPointer JournalFolder::openForReading() const {
    if (!journal_) {
        return {};
    }
    OpenedFiles opened = openJournalFiles(opened_);
    if (!opened.journal || matchHosts(opened.journal.get(), hosts_) < 0) {
        return {};
    }
    return std::move(opened.journal);
}

void JournalFolder::takeInChanges() {
    if (journal_) {
        sd_journal_process(journal_.get());
    }
    // After the journal's own changes: a file it let go of on a rename is opened again below.
    // A file left out may be one still being begun, or one made readable since.
    const bool skippedOpens =
        std::any_of(skipped_.begin(), skipped_.end(),
                    [](const SkippedFile& file) { return opensAsJournal(file.path); });
    if (!watch_.takeEvents() && !skippedOpens) {
        return;
    }
    JournalFolderListing listing = listJournalFolder(folder_, choice_);
    const bool same = listing.error == 0 && error_ == 0 && identify(listing.files) == files_;
    // A folder still missing needs nothing new.
    if ((same && !skippedOpens) || (listing.error != 0 && listing.error == error_)) {
        return;
    }
    open(listing);
}

QString JournalFolder::problemText() const {
    if (error_ != 0) {
        return QStringLiteral("Cannot open %1: %2").arg(folder_, reasonText(error_));
    }
    QString files = journalFilesProblem(countJournalFiles({folder_}, choice_), folder_,
                                        choice_.kind, choice_.uid);
    if (!files.isEmpty() || skipped_.empty()) {
        return files;
    }
    const SkippedFile& first = skipped_.front();
    QString text = QStringLiteral("Skipped %1: %2")
                       .arg(QDir(folder_).relativeFilePath(first.path), reasonText(first.error));
    if (skipped_.size() > 1) {
        text += QStringLiteral(" (and %1 more)").arg(skipped_.size() - 1);
    }
    return text;
}

int JournalFolder::addWaitTargets(std::vector<WaitTarget>& targets, int& timeoutMs) const {
    if (watch_.descriptor() >= 0) {
        targets.push_back({watch_.descriptor(), POLLIN});
    }
    // A file being begun may change without a word from the folder, or from the journal when
    // it holds no other file there.
    if (!watch_.watching() || !skipped_.empty()) {
        timeoutMs = soonerTimeout(timeoutMs, lookAgainMs);
    }
    return journal_ ? addJournalWaitTarget(journal_.get(), descriptor_, targets, timeoutMs) : 0;
}

} // namespace ombrel
