#pragma once

#include "tail/FileStatus.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace ombrel {

/// One read of a watched file: its status and the bytes of the window that was read.
struct TailSnapshot {
    bool opened = false;       ///< a regular file could be opened; only failure is set otherwise
    QString failure;           ///< why the file could not be read, when not opened
    std::int64_t fileSize = 0; ///< size of the opened file, taken from the open file itself
    FileTime modTime;          ///< last write of the opened file, full resolution
    std::int64_t offset = 0;   ///< where in the file `bytes` starts
    QByteArray bytes;          ///< the window read, exactly as stored (0 bytes included)
    QByteArray fileStart;      ///< the file's first bytes (up to 4), for its byte-order mark

    /// Size and time as one status, as the change check compares them.
    FileStatus status() const { return {fileSize, modTime}; }
};

} // namespace ombrel
