#pragma once

#include "tail/FileStatus.h"
#include "tail/FileTailReader.h"
#include "tail/TailSnapshot.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace ombrel {

/// The file-system access of monitoring, replaceable in tests.
class MonitorFileSystem {
public:
    virtual ~MonitorFileSystem() = default;

    /// Something of that name exists (file, folder or other; no rights test).
    virtual bool exists(const QString& path) const = 0;
    /// Size and modification time by path, without opening; nothing when unreadable.
    virtual std::optional<FileStatus> status(const QString& path) const = 0;
    /// One read of the file's window of bytes, as FileTailReader::read.
    virtual TailSnapshot read(const QString& path, std::int64_t byteCount,
                              const TailReadOptions& options) const = 0;
};

/// The real file system.
class LocalFileSystem final : public MonitorFileSystem {
public:
    /// QFileInfo::exists: follows links; a dangling link does not exist.
    bool exists(const QString& path) const override;
    /// stat by path (Windows: the file's attributes), full time resolution.
    std::optional<FileStatus> status(const QString& path) const override;
    /// FileTailReader::read.
    TailSnapshot read(const QString& path, std::int64_t byteCount,
                      const TailReadOptions& options) const override;
};

} // namespace ombrel
