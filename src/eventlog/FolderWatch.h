#pragma once

#include <QHash>
#include <QSet>
#include <QString>

namespace ombrel {

/// Watches a folder, and subfolders added to it, for files that come, go, are renamed, change
/// their permissions or are written to, through one descriptor to wait on.
class FolderWatch {
public:
    /// Starts watching folder; when it cannot be watched (missing), watching() is false.
    explicit FolderWatch(QString folder);
    /// Ends every watch.
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    /// The descriptor that is readable when events came; -1 when none could be made.
    int descriptor() const { return fd_; }
    /// True while the folder itself is watched: not before it exists, nor after it went.
    bool watching() const { return folderWatch_ >= 0; }
    /// Watches subfolder too; one that cannot be watched is left out.
    void addSubfolder(const QString& subfolder);
    /// Reads the events that came, adding the paths of files written to to written. True when
    /// files came, went or were renamed, when events were lost, or when the folder is not
    /// watched (then it tries to watch it again), so that the caller looks at the folder again.
    bool takeEvents(QSet<QString>& written);

private:
    void watchFolder();

    QString folder_;
    int fd_ = -1;
    int folderWatch_ = -1;        // watch descriptor of the folder itself
    QHash<int, QString> watched_; // each watch descriptor's folder
};

} // namespace ombrel
