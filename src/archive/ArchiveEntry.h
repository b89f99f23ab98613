#pragma once

#include "archive/CodecTag.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace ombrel {

/// A mounted archive file.
struct ArchiveFile {
    /// The path as given to ResourceArchive::mount.
    QString path;
    /// File position of the archive's magic; every offset inside counts from here.
    std::int64_t basePosition = 0;
};

/// One member of a mounted archive as its directory describes it.
struct ArchiveEntry {
    /// The member's name: 8-bit bytes, compared exactly (case and separators included).
    QByteArray name;
    /// How the member's block is stored.
    CodecTag tag = 0;
    /// The size the directory gives for the plain member; what getfile reports.
    std::uint32_t unpackedSize = 0;
    /// Where the member's block lies, counted from its archive's base position.
    std::uint32_t dataOffset = 0;
    /// nameHash of name, compared before any bytes.
    std::int32_t hash = 0;
    /// Index of the mounted file the entry came from (ResourceArchive::files()).
    int fileIndex = 0;
};

} // namespace ombrel
