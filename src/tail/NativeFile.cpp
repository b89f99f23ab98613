#include "tail/NativeFile.h"

#include <QString>
#include <algorithm>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ombrel {

namespace {
void setReason(QString* whyNot, const QString& reason) {
    if (whyNot) {
        *whyNot = reason;
    }
}

QString notRegular() {
    return QStringLiteral("Not a regular file");
}
} // namespace

#ifdef _WIN32

namespace {
const HANDLE invalidHandle = INVALID_HANDLE_VALUE;

const wchar_t* nativePath(const QString& path) {
    return reinterpret_cast<const wchar_t*>(path.utf16());
}

FileTime fromFileTime(const FILETIME& time) {
    // 100 ns ticks since 1601-01-01 UTC.
    constexpr std::int64_t ticksPerSecond = 10'000'000;
    constexpr std::int64_t ticksFrom1601To1970 = 116'444'736'000'000'000;
    const auto ticks = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    const std::int64_t sinceEpoch = ticks - ticksFrom1601To1970;
    std::int64_t seconds = sinceEpoch / ticksPerSecond;
    std::int64_t rest = sinceEpoch % ticksPerSecond;
    if (rest < 0) {
        --seconds;
        rest += ticksPerSecond;
    }
    return {seconds, static_cast<std::int32_t>(rest * 100)};
}

std::int64_t combine(DWORD high, DWORD low) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}
} // namespace

std::optional<NativeFile> NativeFile::openRegular(const QString& path, QString* whyNot) {
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder cannot be opened at all.
    const HANDLE handle = CreateFileW(nativePath(path), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == invalidHandle) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(nativePath(path));
        setReason(whyNot, attributes != INVALID_FILE_ATTRIBUTES &&
                                  (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                              ? QStringLiteral("Is a directory")
                              : qt_error_string(static_cast<int>(error)));
        return std::nullopt;
    }
    NativeFile file(handle);
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        setReason(whyNot, notRegular());
        return std::nullopt; // pipe, console or device
    }
    return file;
}

std::optional<FileStatus> NativeFile::statusByPath(const QString& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(nativePath(path), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    return FileStatus{combine(data.nFileSizeHigh, data.nFileSizeLow),
                      fromFileTime(data.ftLastWriteTime)};
}

std::optional<FileStatus> NativeFile::status() const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle_, &info)) {
        return std::nullopt;
    }
    return FileStatus{combine(info.nFileSizeHigh, info.nFileSizeLow),
                      fromFileTime(info.ftLastWriteTime)};
}

std::int64_t NativeFile::readAt(std::int64_t offset, char* buffer, std::int64_t count) const {
    constexpr std::int64_t largestRead = 1 << 30;
    std::int64_t done = 0;
    while (done < count) {
        OVERLAPPED at{};
        const auto position = static_cast<std::uint64_t>(offset + done);
        at.Offset = static_cast<DWORD>(position & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        DWORD got = 0;
        const auto want = static_cast<DWORD>(std::min(count - done, largestRead));
        if (!ReadFile(handle_, buffer + done, want, &got, &at) || got == 0) {
            break; // end of file or an error: keep what was read
        }
        done += got;
    }
    return done;
}

void NativeFile::close() noexcept {
    if (handle_ != invalidHandle) {
        CloseHandle(handle_);
        handle_ = invalidHandle;
    }
}

#else // POSIX

static_assert(sizeof(off_t) >= 8, "64-bit file offsets are required");

namespace {
constexpr int invalidHandle = -1;

FileStatus fromStat(const struct stat& info) {
#ifdef __APPLE__
    const timespec& modified = info.st_mtimespec;
#else
    const timespec& modified = info.st_mtim;
#endif
    return {
        static_cast<std::int64_t>(info.st_size),
        {static_cast<std::int64_t>(modified.tv_sec), static_cast<std::int32_t>(modified.tv_nsec)}};
}
} // namespace

std::optional<NativeFile> NativeFile::openRegular(const QString& path, QString* whyNot) {
    const QByteArray name = QFile::encodeName(path);
    // Look before opening: opening a device can have effects of its own.
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        setReason(whyNot, qt_error_string(errno));
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        setReason(whyNot, S_ISDIR(info.st_mode) ? qt_error_string(EISDIR) : notRegular());
        return std::nullopt;
    }
    // Non-blocking, so a FIFO swapped in after the look cannot hang the open.
    int handle = -1;
    do {
        handle = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0) {
        setReason(whyNot, qt_error_string(errno));
        return std::nullopt;
    }
    NativeFile file(handle);
    if (::fstat(handle, &info) != 0 || !S_ISREG(info.st_mode)) {
        setReason(whyNot, notRegular());
        return std::nullopt;
    }
    return file;
}

std::optional<FileStatus> NativeFile::statusByPath(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return std::nullopt;
    }
    return fromStat(info);
}

std::optional<FileStatus> NativeFile::status() const {
    struct stat info {};
    if (::fstat(handle_, &info) != 0) {
        return std::nullopt;
    }
    return fromStat(info);
}

std::int64_t NativeFile::readAt(std::int64_t offset, char* buffer, std::int64_t count) const {
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(handle_, buffer + done, static_cast<size_t>(count - done),
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break; // end of file or an error: keep what was read
        }
        done += got;
    }
    return done;
}

void NativeFile::close() noexcept {
    if (handle_ != invalidHandle) {
        ::close(handle_);
        handle_ = invalidHandle;
    }
}

#endif

NativeFile::NativeFile(NativeFile&& other) noexcept
    : handle_(std::exchange(other.handle_, invalidHandle)) {}

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, invalidHandle);
    }
    return *this;
}

NativeFile::~NativeFile() {
    close();
}

} // namespace ombrel
