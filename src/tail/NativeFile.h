#pragma once

#include "tail/FileStatus.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace ombrel {

/// An open regular file, read-only and shared with its writers; closed with the object.
/// The platform layer under the tail reader: POSIX descriptors, or Win32 handles on Windows.
class NativeFile {
public:
    /// Opens path when it names a regular file (after following links); nothing for a missing
    /// file, a folder, a FIFO, a device or missing rights, with the reason in whyNot when
    /// given. Never blocks and never disturbs a writer (Windows: read, write and delete
    /// sharing).
    static std::optional<NativeFile> openRegular(const QString& path, QString* whyNot = nullptr);
    /// Size and modification time of whatever path names (following links), without opening
    /// it; nothing when the status cannot be read.
    static std::optional<FileStatus> statusByPath(const QString& path);

    NativeFile(NativeFile&& other) noexcept;
    NativeFile& operator=(NativeFile&& other) noexcept;
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;
    ~NativeFile();

    /// Size and modification time of the opened file itself (never looked up by path again).
    std::optional<FileStatus> status() const;
    /// Reads up to count bytes from offset into buffer; the number read, short at the end of
    /// the file or on an error.
    std::int64_t readAt(std::int64_t offset, char* buffer, std::int64_t count) const;

private:
#ifdef _WIN32
    using Handle = void*;
#else
    using Handle = int;
#endif
    explicit NativeFile(Handle handle) : handle_(handle) {}
    void close() noexcept;

    Handle handle_;
};

} // namespace ombrel
