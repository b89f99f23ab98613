#pragma once

#include "archive/CodecTag.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <vector>

namespace ombrel::test {

/// Little-endian u32 bytes.
QByteArray u32(std::uint32_t value);

/// A stored block: its u32 length, then the bytes.
QByteArray block(const QByteArray& stored);

/// A directory entry as the format lays it out.
struct RawEntry {
    QByteArray name;
    std::uint32_t unpackedSize = 0;
    std::uint32_t dataOffset = 0;
    CodecTag tag = 0;
    /// The name length field; -1 for the real length.
    int nameLengthField = -1;
};

/// The decoded directory bytes of entries, back to back.
QByteArray directoryBytes(const std::vector<RawEntry>& entries);

/// An archive laid out by hand: the 12-byte header, body from offset 12 (so a block at body
/// position p has data offset 12 + p), then the directory record with directoryTag.
QByteArray rawArchive(const QByteArray& body, const QByteArray& storedDirectory,
                      std::int32_t declaredLength, CodecTag directoryTag = codec_id::none);

/// A temporary folder for archive files, removed with the object.
class ArchiveFiles {
public:
    /// Writes bytes to the file name in the folder and returns its path.
    QString write(const char* name, const QByteArray& bytes);
    /// The path of name in the folder, written or not.
    QString path(const char* name) const;

private:
    QTemporaryDir dir_;
};

} // namespace ombrel::test
