#pragma once

#include "archive/ArchiveEntry.h"
#include "archive/CodecRegistry.h"
#include "archive/MallocBuffer.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace ombrel {

/// Bounds on what a damaged or hostile archive can make the reader allocate.
struct ArchiveLimits {
    /// Largest stored block, decoded block or reported member size accepted.
    std::int64_t maxMemberSize = std::int64_t{256} << 20;
    /// Largest decoded directory accepted.
    std::int64_t maxDirectorySize = std::int64_t{8} << 20;
};

/// Read-only access to packed archives of named members ("CFL3" format): a header with the
/// directory's place, an encoded directory, and one encoded block per member. An archive may
/// also be appended to another file and found through an 8-byte trailer ("3CFL"). No file is
/// held open between calls; each fetch reopens it.
class ResourceArchive {
public:
    /// The magic at the archive's first byte.
    static constexpr char magic[] = "CFL3";
    /// The trailer's mark: its last 4 bytes.
    static constexpr char trailerMagic[] = "3CFL";

    /// An archive with nothing mounted, decoding with codecs (which must outlive it).
    explicit ResourceArchive(const CodecRegistry& codecs = CodecRegistry::standard(),
                             ArchiveLimits limits = {});

    /// The archive at path, mounted from position 0, or nullptr when it cannot be mounted.
    static std::unique_ptr<ResourceArchive>
    open(const QString& path, const CodecRegistry& codecs = CodecRegistry::standard(),
         ArchiveLimits limits = {});

    /// Adds the archive found at startOffset of the file at path, or through the file's
    /// trailer when startOffset holds no magic. Names it brings again replace the earlier
    /// entries in place. False, with nothing added, when the file does not open, holds no
    /// archive, or its directory cannot be read and decoded.
    bool mount(const QString& path, std::int64_t startOffset = 0);

    /// The entry whose name equals name byte for byte (up to a NUL), or nullptr. The pointer
    /// stays valid until the next mount.
    const ArchiveEntry* find(QByteArrayView name) const;

    /// The member called name, decoded, as a buffer of at least the entry's unpacked size
    /// (zero-filled past what decoding yielded). size becomes that unpacked size, or 0 when
    /// no member has the name. Null when the member is absent or cannot be read or decoded.
    MallocBuffer getfile(QByteArrayView name, std::int64_t& size) const;

    /// The entries, in the order their names first appeared.
    const std::vector<ArchiveEntry>& entries() const { return entries_; }
    /// The mounted files, oldest first; ArchiveEntry::fileIndex indexes this.
    const std::vector<ArchiveFile>& files() const { return files_; }

private:
    void parseDirectory(QByteArrayView directory, std::int32_t declaredLength, int fileIndex);
    void addEntry(ArchiveEntry entry);

    const CodecRegistry* codecs_;
    ArchiveLimits limits_;
    std::vector<ArchiveFile> files_;
    std::vector<ArchiveEntry> entries_;
    QHash<QByteArray, std::size_t> indexByName_;
};

} // namespace ombrel
