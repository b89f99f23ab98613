#include "ArchiveTestFiles.h"

#include <QFile>

namespace ombrel::test {

QByteArray u32(std::uint32_t value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>(value >> (8 * i));
    }
    return bytes;
}

QByteArray block(const QByteArray& stored) {
    return u32(static_cast<std::uint32_t>(stored.size())) + stored;
}

QByteArray directoryBytes(const std::vector<RawEntry>& entries) {
    QByteArray bytes;
    for (const RawEntry& entry : entries) {
        const int length = entry.nameLengthField >= 0 ? entry.nameLengthField
                                                      : static_cast<int>(entry.name.size());
        bytes += u32(entry.unpackedSize) + u32(entry.dataOffset) + u32(entry.tag);
        bytes += static_cast<char>(length & 0xFF);
        bytes += static_cast<char>(length >> 8);
        bytes += entry.name;
    }
    return bytes;
}

QByteArray rawArchive(const QByteArray& body, const QByteArray& storedDirectory,
                      std::int32_t declaredLength, CodecTag directoryTag) {
    const auto directoryOffset = static_cast<std::uint32_t>(12 + body.size());
    return QByteArray("CFL3") + u32(directoryOffset) +
           u32(static_cast<std::uint32_t>(declaredLength)) + body + u32(directoryTag) +
           block(storedDirectory);
}

QString ArchiveFiles::write(const char* name, const QByteArray& bytes) {
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return {};
    }
    return file.fileName();
}

QString ArchiveFiles::path(const char* name) const {
    return dir_.filePath(QString::fromUtf8(name));
}

} // namespace ombrel::test
