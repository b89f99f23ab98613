#pragma once

#include "archive/ArchiveWriter.h"
#include "archive/CodecTag.h"
#include "support/TempFiles.h"

#include <QByteArray>
#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
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

/// An archive laid out by hand: the 12-byte header, body from offset 12 (so a block at body
/// position p has data offset 12 + p), then the directory of entries, stored with
/// directoryTag and declared as declaredLength bytes (by default its real length).
inline QByteArray rawArchive(const QByteArray& body, const std::vector<RawEntry>& entries,
                             std::optional<std::int32_t> declaredLength = {},
                             CodecTag directoryTag = codec_id::none) {
    QByteArray directory;
    for (const RawEntry& entry : entries) {
        const auto length = static_cast<std::uint32_t>(
            entry.nameLengthField >= 0 ? entry.nameLengthField : entry.name.size());
        directory += u32(entry.unpackedSize) + u32(entry.dataOffset) + u32(entry.tag) +
                     u32(length).first(2) + entry.name;
    }
    const auto declared = declaredLength.value_or(static_cast<std::int32_t>(directory.size()));
    return QByteArray("CFL3") + u32(static_cast<std::uint32_t>(12 + body.size())) +
           u32(static_cast<std::uint32_t>(declared)) + body + u32(directoryTag) + block(directory);
}

} // namespace ombrel::test
