#include "tail/FileTailReader.h"

#include "tail/MemoryPages.h"
#include "tail/NativeFile.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace ombrel {

namespace {
// Enough for any byte-order mark the decoder looks for.
constexpr std::int64_t fileStartLength = 4;

QByteArray readBytes(const NativeFile& file, std::int64_t offset, std::int64_t count) {
    QByteArray bytes(static_cast<qsizetype>(count), Qt::Uninitialized);
    preferHugePages(bytes.data(), count);
    const std::int64_t got = file.readAt(offset, bytes.data(), count);
    // A file that shrank since its status was taken gives fewer bytes.
    bytes.truncate(static_cast<qsizetype>(got));
    return bytes;
}
} // namespace

TailSnapshot FileTailReader::read(const QString& path, std::int64_t byteCount,
                                  const TailReadOptions& options) {
    TailSnapshot snapshot;
    const auto file = NativeFile::openRegular(path, &snapshot.failure);
    if (!file) {
        return snapshot;
    }
    // The size comes from the open file: a rotation since any look-up by path cannot mix the
    // new file's size into the old file's read.
    const auto status = file->status();
    if (!status) {
        snapshot.failure = qt_error_string();
        return snapshot;
    }
    const std::int64_t size = std::max<std::int64_t>(status->size, 0);
    const std::int64_t count = std::clamp<std::int64_t>(byteCount, 0, size);
    const std::int64_t offset = options.head ? 0 : size - count;
    try {
        snapshot.bytes = readBytes(*file, offset, count);
        const std::int64_t startLength = std::min(fileStartLength, size);
        snapshot.fileStart = offset == 0 && snapshot.bytes.size() >= startLength
                                 ? snapshot.bytes.left(startLength)
                                 : readBytes(*file, 0, startLength);
    } catch (const std::bad_alloc&) {
        // Never go on without the buffer: the read counts as failed.
        TailSnapshot failed;
        failed.failure = QStringLiteral("Not enough memory");
        return failed;
    }
    snapshot.opened = true;
    snapshot.fileSize = status->size;
    snapshot.modTime = status->modified;
    snapshot.offset = offset;
    return snapshot;
}

} // namespace ombrel
