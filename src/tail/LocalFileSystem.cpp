#include "tail/MonitorFileSystem.h"
#include "tail/NativeFile.h"

#include <QFileInfo>

namespace ombrel {

bool LocalFileSystem::exists(const QString& path) const {
    return QFileInfo::exists(path);
}

std::optional<FileStatus> LocalFileSystem::status(const QString& path) const {
    return NativeFile::statusByPath(path);
}

TailSnapshot LocalFileSystem::read(const QString& path, std::int64_t byteCount,
                                   const TailReadOptions& options) const {
    return FileTailReader::read(path, byteCount, options);
}

} // namespace ombrel
