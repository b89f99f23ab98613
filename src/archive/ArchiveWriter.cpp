#include "archive/ArchiveWriter.h"

#include "archive/BlockCodec.h"
#include "archive/LittleEndian.h"
#include "archive/ResourceArchive.h"

#include <QSaveFile>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace ombrel {

namespace {

constexpr qsizetype headerLength = 12;

void appendU32(QByteArray& bytes, std::uint32_t value) {
    unsigned char field[4];
    little_endian::writeU32(field, value);
    bytes.append(reinterpret_cast<const char*>(field), 4);
}

void appendU16(QByteArray& bytes, std::uint16_t value) {
    unsigned char field[2];
    little_endian::writeU16(field, value);
    bytes.append(reinterpret_cast<const char*>(field), 2);
}

bool fitsU32(qsizetype value) {
    return value >= 0 && static_cast<std::uint64_t>(value) <= UINT32_MAX;
}

QString tagText(CodecTag tag) {
    return QStringLiteral("0x%1").arg(tag, 8, 16, QLatin1Char('0'));
}

} // namespace

ArchiveWriter::ArchiveWriter(const CodecRegistry& codecs, CodecTag directoryTag)
    : codecs_(&codecs), directoryTag_(directoryTag) {}

bool ArchiveWriter::fail(const QString& message) {
    error_ = message;
    return false;
}

bool ArchiveWriter::addMember(const QByteArray& name, QByteArrayView data, CodecTag tag) {
    const QString shownName = QString::fromLocal8Bit(name);
    if (name.contains('\0')) {
        return fail(QStringLiteral("member name \"%1\" contains a NUL byte").arg(shownName));
    }
    if (name.size() > std::numeric_limits<std::uint16_t>::max()) {
        return fail(QStringLiteral("member name is longer than 65535 bytes"));
    }
    if (!fitsU32(data.size())) {
        return fail(QStringLiteral("member \"%1\" is larger than 4 GiB").arg(shownName));
    }
    const MallocBuffer stored = encodeBlock(data, tag, *codecs_);
    if (stored.isNull()) {
        return fail(QStringLiteral("member \"%1\" cannot be encoded with tag %2")
                        .arg(shownName, tagText(tag)));
    }
    if (!fitsU32(stored.size())) {
        return fail(
            QStringLiteral("member \"%1\" is larger than 4 GiB when stored").arg(shownName));
    }
    Member member{name, tag, static_cast<std::uint32_t>(data.size()), stored.toByteArray()};
    auto same = std::find_if(members_.begin(), members_.end(),
                             [&](const Member& known) { return known.name == name; });
    if (same != members_.end()) {
        *same = std::move(member);
    } else {
        members_.push_back(std::move(member));
    }
    return true;
}

std::optional<QByteArray> ArchiveWriter::toBytes() {
    QByteArray archive(ResourceArchive::magic);
    archive.append(headerLength - archive.size(), '\0'); // offset and length follow below
    QByteArray directory;
    for (const Member& member : members_) {
        if (!fitsU32(archive.size())) {
            fail(QStringLiteral("the archive is larger than 4 GiB"));
            return std::nullopt;
        }
        appendU32(directory, member.unpackedSize);
        appendU32(directory, static_cast<std::uint32_t>(archive.size()));
        appendU32(directory, member.tag);
        appendU16(directory, static_cast<std::uint16_t>(member.name.size()));
        directory.append(member.name);
        appendU32(archive, static_cast<std::uint32_t>(member.stored.size()));
        archive.append(member.stored);
    }
    const MallocBuffer storedDirectory = encodeBlock(directory, directoryTag_, *codecs_);
    if (storedDirectory.isNull()) {
        fail(QStringLiteral("the directory cannot be encoded with tag %1")
                 .arg(tagText(directoryTag_)));
        return std::nullopt;
    }
    if (!fitsU32(archive.size()) || directory.size() > std::numeric_limits<std::int32_t>::max() ||
        !fitsU32(storedDirectory.size())) {
        fail(QStringLiteral("the archive is larger than 4 GiB"));
        return std::nullopt;
    }
    QByteArray header;
    appendU32(header, static_cast<std::uint32_t>(archive.size()));
    appendU32(header, static_cast<std::uint32_t>(directory.size()));
    archive.replace(4, header.size(), header);
    appendU32(archive, directoryTag_);
    appendU32(archive, static_cast<std::uint32_t>(storedDirectory.size()));
    archive.append(storedDirectory.view());
    return archive;
}

bool ArchiveWriter::writeTo(const QString& path) {
    const auto bytes = toBytes();
    if (!bytes) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit()) {
        return fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    }
    return true;
}

QByteArray ArchiveWriter::appendWithTrailer(const QByteArray& host, const QByteArray& archive) {
    QByteArray result = host + archive;
    appendU32(result, static_cast<std::uint32_t>(archive.size() + 8));
    result.append(ResourceArchive::trailerMagic);
    return result;
}

} // namespace ombrel
