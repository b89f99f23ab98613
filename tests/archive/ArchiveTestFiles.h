#pragma once

#include "archive/ArchiveWriter.h"
#include "archive/CodecTag.h"
#include "support/TempFiles.h"

#include <QByteArray>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace ombrel::test {

/// Little-endian u32 bytes.
inline QByteArray u32(std::uint32_t value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>(value >> (8 * i));
    }
    return bytes;
}

/// A stored block: its u32 length, then the bytes.
inline QByteArray block(const QByteArray& stored) {
    return u32(static_cast<std::uint32_t>(stored.size())) + stored;
}

/// The bytes of an archive of the given members, zlib-coded.
inline QByteArray archiveOf(std::initializer_list<std::pair<QByteArray, QByteArray>> members) {
    ArchiveWriter writer;
    for (const auto& [name, data] : members) {
        EXPECT_TRUE(writer.addMember(name, data, codec_id::zlib));
    }
    return writer.toBytes().value_or(QByteArray());
}

/// A directory entry as the format lays it out.
struct RawEntry {
    QByteArray name;
    std::uint32_t unpackedSize = 0;
    std::uint32_t dataOffset = 0;
    CodecTag tag = 0;
    int nameLengthField = -1; ///< -1 for the real length
};

/// The decoded directory bytes of entries, back to back.
inline QByteArray directoryBytes(const std::vector<RawEntry>& entries) {
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

/// An archive laid out by hand: the 12-byte header, body from offset 12 (so a block at body
/// position p has data offset 12 + p), then the directory record with directoryTag.
inline QByteArray rawArchive(const QByteArray& body, const QByteArray& storedDirectory,
                             std::int32_t declaredLength, CodecTag directoryTag = codec_id::none) {
    const auto directoryOffset = static_cast<std::uint32_t>(12 + body.size());
    return QByteArray("CFL3") + u32(directoryOffset) +
           u32(static_cast<std::uint32_t>(declaredLength)) + body + u32(directoryTag) +
           block(storedDirectory);
}

} // namespace ombrel::test
