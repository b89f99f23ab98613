#include "tail/MonitorFileSystem.h"
#include "tail/NativeFile.h"

#ifdef _WIN32
#include <QFileInfo>
#else
#include <QFile>
#include <sys/stat.h>
#endif

namespace ombrel {

PathKind LocalFileSystem::kind(const QString& path) const {
#ifdef _WIN32
    const QFileInfo info(path);
    if (!info.exists()) {
        return PathKind::Missing;
    }
    return info.isFile() ? PathKind::Watchable : PathKind::NotAFile;
#else
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return PathKind::Missing;
    }
    return S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode) ? PathKind::Watchable
                                                           : PathKind::NotAFile;
#endif
}

std::optional<FileStatus> LocalFileSystem::status(const QString& path) const {
    return NativeFile::statusByPath(path);
}

TailSnapshot LocalFileSystem::read(const QString& path, std::int64_t byteCount,
                                   const TailReadOptions& options) const {
    return FileTailReader::read(path, byteCount, options);
}

} // namespace ombrel
