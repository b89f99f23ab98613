#include "eventlog/FolderWatch.h"

#include "eventlog/JournalFiles.h"

#include <QFile>
#include <cstddef>
#include <cstdint>
#include <sys/inotify.h>
#include <unistd.h>

namespace ombrel {

namespace {
// Files coming, going, renamed (rotation), made readable or written to (journal writers
// truncate a file to its own size after each write to say so); the folder itself going.
constexpr std::uint32_t fileEvents =
    IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_ATTRIB | IN_MODIFY | IN_ONLYDIR;
constexpr std::uint32_t folderEvents = fileEvents | IN_DELETE_SELF | IN_MOVE_SELF;
} // namespace

FolderWatch::FolderWatch(QString folder)
    : folder_(std::move(folder)), fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    watchFolder();
}

FolderWatch::~FolderWatch() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void FolderWatch::watchFolder() {
    if (fd_ >= 0) {
        folderWatch_ =
            ::inotify_add_watch(fd_, QFile::encodeName(folder_).constData(), folderEvents);
        if (folderWatch_ >= 0) {
            watched_.insert(folderWatch_, folder_);
        }
    }
}

void FolderWatch::addSubfolder(const QString& subfolder) {
    if (fd_ >= 0) {
        // Adding the same folder again only renews its watch.
        if (const int watch =
                ::inotify_add_watch(fd_, QFile::encodeName(subfolder).constData(), fileEvents);
            watch >= 0) {
            watched_.insert(watch, subfolder);
        }
    }
}

bool FolderWatch::takeEvents(QSet<QString>& written) {
    bool any = false;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t length = fd_ >= 0 ? ::read(fd_, buffer, sizeof buffer) : -1;
        if (length <= 0) {
            break;
        }
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            const auto folder = watched_.constFind(event->wd);
            if (event->mask == IN_MODIFY && event->len > 0 && folder != watched_.cend()) {
                written.insert(journalFilePath(*folder, QFile::decodeName(event->name)));
            } else {
                any = true; // IN_Q_OVERFLOW among them: what was lost is looked for
            }
            // A folder moved away is watched where it went: it is no longer this folder.
            if (event->wd == folderWatch_ &&
                (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT))) {
                if (!(event->mask & IN_IGNORED)) {
                    ::inotify_rm_watch(fd_, folderWatch_);
                }
                folderWatch_ = -1;
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    if (!watching()) {
        watchFolder();
        return true;
    }
    return any;
}

} // namespace ombrel
