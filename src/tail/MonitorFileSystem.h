#pragma once

#include "tail/FileStatus.h"
#include "tail/FileTailReader.h"
#include "tail/TailSnapshot.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace ombrel {

/// What a name stands for, as far as watching it goes.
enum class PathKind {
    Missing,   ///< nothing of that name (a dangling link included)
    Watchable, ///< a regular file, or a FIFO, which is watched as one
    NotAFile   ///< a folder, a device or a socket: nothing to tail
};

/// The file-system access of monitoring, replaceable in tests.
class MonitorFileSystem {
public:
    virtual ~MonitorFileSystem() = default;

    /// What path names, after following links (no rights test).
    virtual PathKind kind(const QString& path) const = 0;
    /// Size and modification time by path, without opening; nothing when unreadable.
    virtual std::optional<FileStatus> status(const QString& path) const = 0;
    /// One read of the file's window of bytes, as FileTailReader::read.
    virtual TailSnapshot read(const QString& path, std::int64_t byteCount,
                              const TailReadOptions& options) const = 0;
};

/// The real file system.
class LocalFileSystem final : public MonitorFileSystem {
public:
    /// stat by path (Windows: the file's attributes).
    PathKind kind(const QString& path) const override;
    /// stat by path (Windows: the file's attributes), full time resolution.
    std::optional<FileStatus> status(const QString& path) const override;
    /// FileTailReader::read.
    TailSnapshot read(const QString& path, std::int64_t byteCount,
                      const TailReadOptions& options) const override;
};

} // namespace ombrel
