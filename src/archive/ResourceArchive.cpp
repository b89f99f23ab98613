#include "archive/ResourceArchive.h"

#include "archive/BlockCodec.h"
#include "archive/LittleEndian.h"
#include "archive/NameHash.h"

#include <QFile>
#include <optional>

namespace ombrel {

namespace {

constexpr std::int64_t entryHeaderLength = 14;

const unsigned char* bytesOf(const QByteArray& bytes) {
    return reinterpret_cast<const unsigned char*>(bytes.constData());
}

QByteArrayView upToNul(QByteArrayView name) {
    const qsizetype nul = name.indexOf('\0');
    return nul < 0 ? name : name.first(nul);
}

// Exactly length bytes at position, or nothing when the file does not hold them all.
std::optional<QByteArray> readExact(QFile& file, std::int64_t position, std::int64_t length) {
    const std::int64_t fileSize = file.size();
    if (position < 0 || length < 0 || position > fileSize || length > fileSize - position ||
        !file.seek(position)) {
        return std::nullopt;
    }
    QByteArray bytes = file.read(length);
    if (bytes.size() != length) {
        return std::nullopt;
    }
    return bytes;
}

// The stored bytes of the block (u32 length, then the bytes) at position. Nothing when the
// block runs past the end of the file or beyond maxLength.
std::optional<QByteArray> readBlock(QFile& file, std::int64_t position, std::int64_t maxLength) {
    const auto length = readExact(file, position, 4);
    if (!length) {
        return std::nullopt;
    }
    const std::int64_t storedLength = little_endian::readU32(bytesOf(*length));
    if (storedLength > maxLength) {
        return std::nullopt;
    }
    return readExact(file, position + 4, storedLength);
}

bool hasMagic(QFile& file, std::int64_t position) {
    const auto bytes = readExact(file, position, 4);
    return bytes && *bytes == ResourceArchive::magic;
}

// The position of the archive's magic: at startOffset, or where the trailer points.
std::optional<std::int64_t> locateBase(QFile& file, std::int64_t startOffset) {
    if (hasMagic(file, startOffset)) {
        return startOffset;
    }
    const auto trailer = readExact(file, file.size() - 8, 8);
    if (!trailer || trailer->sliced(4) != ResourceArchive::trailerMagic) {
        return std::nullopt;
    }
    const std::int64_t base = file.size() - little_endian::readU32(bytesOf(*trailer));
    if (!hasMagic(file, base)) {
        return std::nullopt;
    }
    return base;
}

} // namespace

ResourceArchive::ResourceArchive(const CodecRegistry& codecs, ArchiveLimits limits)
    : codecs_(&codecs), limits_(limits) {}

std::unique_ptr<ResourceArchive>
ResourceArchive::open(const QString& path, const CodecRegistry& codecs, ArchiveLimits limits) {
    auto archive = std::make_unique<ResourceArchive>(codecs, limits);
    if (!archive->mount(path, 0)) {
        return nullptr;
    }
    return archive;
}

bool ResourceArchive::mount(const QString& path, std::int64_t startOffset) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const auto base = locateBase(file, startOffset);
    if (!base) {
        return false;
    }
    const auto header = readExact(file, *base + 4, 8);
    if (!header) {
        return false;
    }
    const std::int64_t directoryPosition = *base + little_endian::readU32(bytesOf(*header));
    const auto declaredLength =
        static_cast<std::int32_t>(little_endian::readU32(bytesOf(*header) + 4));
    const auto directoryTag = readExact(file, directoryPosition, 4);
    if (!directoryTag) {
        return false;
    }
    const auto stored = readBlock(file, directoryPosition + 4, limits_.maxDirectorySize);
    file.close();
    if (!stored) {
        return false;
    }
    const MallocBuffer directory =
        decodeBlock(*stored, little_endian::readU32(bytesOf(*directoryTag)), *codecs_,
                    limits_.maxDirectorySize);
    if (directory.isNull()) {
        return false;
    }
    files_.push_back({path, *base});
    parseDirectory(directory.view(), declaredLength, static_cast<int>(files_.size() - 1));
    return true;
}

void ResourceArchive::parseDirectory(QByteArrayView directory, std::int32_t declaredLength,
                                     int fileIndex) {
    if (declaredLength <= 0) {
        return;
    }
    // The declared length says where to stop; the decoded bytes bound every read, so a
    // directory shorter than declared, or an entry cut off at its end, ends the parse there.
    const auto* bytes = reinterpret_cast<const unsigned char*>(directory.data());
    const std::int64_t available = directory.size();
    std::int64_t position = 0;
    do {
        if (available - position < entryHeaderLength) {
            break;
        }
        const unsigned char* fields = bytes + position;
        const std::int64_t nameLength = little_endian::readU16(fields + 12);
        if (available - position - entryHeaderLength < nameLength) {
            break;
        }
        ArchiveEntry entry;
        entry.unpackedSize = little_endian::readU32(fields);
        entry.dataOffset = little_endian::readU32(fields + 4);
        entry.tag = little_endian::readU32(fields + 8);
        entry.name =
            upToNul(directory.sliced(position + entryHeaderLength, nameLength)).toByteArray();
        entry.hash = nameHash(entry.name);
        entry.fileIndex = fileIndex;
        addEntry(std::move(entry));
        position += entryHeaderLength + nameLength;
    } while (position < declaredLength);
}

void ResourceArchive::addEntry(ArchiveEntry entry) {
    // A name seen before keeps its place, but every field comes from the later entry.
    const auto known = indexByName_.constFind(entry.name);
    if (known != indexByName_.cend()) {
        entries_[*known] = std::move(entry);
        return;
    }
    indexByName_.insert(entry.name, entries_.size());
    entries_.push_back(std::move(entry));
}

const ArchiveEntry* ResourceArchive::find(QByteArrayView name) const {
    const QByteArrayView wanted = upToNul(name);
    const std::int32_t hash = nameHash(wanted);
    const auto known = indexByName_.constFind(wanted.toByteArray());
    if (known == indexByName_.cend() || entries_[*known].hash != hash) {
        return nullptr;
    }
    return &entries_[*known];
}

MallocBuffer ResourceArchive::getfile(QByteArrayView name, std::int64_t& size) const {
    size = 0;
    const ArchiveEntry* entry = find(name);
    if (!entry) {
        return {};
    }
    size = entry->unpackedSize;
    if (size > limits_.maxMemberSize) {
        return {};
    }
    const ArchiveFile& source = files_[static_cast<std::size_t>(entry->fileIndex)];
    QFile file(source.path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const auto stored =
        readBlock(file, source.basePosition + entry->dataOffset, limits_.maxMemberSize);
    file.close();
    if (!stored) {
        return {};
    }
    MallocBuffer member = decodeBlock(*stored, entry->tag, *codecs_, limits_.maxMemberSize);
    // Callers read the reported size, so a shorter decode is padded with zeros.
    if (member.isNull() || (member.size() < size && !member.resize(size))) {
        return {};
    }
    return member;
}

} // namespace ombrel
