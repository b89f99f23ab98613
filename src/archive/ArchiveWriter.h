#pragma once

#include "archive/CodecRegistry.h"
#include "archive/CodecTag.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

namespace ombrel {

/// Builds an archive that ResourceArchive reads: the header, each member's encoded block in
/// the order added, then the encoded directory.
class ArchiveWriter {
public:
    /// A writer encoding with codecs (which must outlive it); the directory is stored with
    /// directoryTag.
    explicit ArchiveWriter(const CodecRegistry& codecs = CodecRegistry::standard(),
                           CodecTag directoryTag = codec_id::zlib);

    /// Encodes data with tag and adds it as member name; a name added before is replaced.
    /// False (see errorString) when the name or data do not fit the format or encoding fails.
    bool addMember(const QByteArray& name, QByteArrayView data, CodecTag tag);

    /// The archive's bytes, or nothing (see errorString) when it outgrows 32-bit offsets.
    std::optional<QByteArray> toBytes();
    /// Writes the archive to path, replacing the file only once it is complete.
    bool writeTo(const QString& path);

    /// What the last failure was.
    QString errorString() const { return error_; }

    /// host followed by archive and the trailer that lets a reader find it from the end.
    static QByteArray appendWithTrailer(const QByteArray& host, const QByteArray& archive);

private:
    struct Member {
        QByteArray name;
        CodecTag tag;
        std::uint32_t unpackedSize;
        QByteArray stored;
    };

    bool fail(const QString& message);

    const CodecRegistry* codecs_;
    CodecTag directoryTag_;
    std::vector<Member> members_;
    QString error_;
};

} // namespace ombrel
