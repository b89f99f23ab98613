// Mounts the input as an archive file and fetches every member it lists.
#include "archive/ResourceArchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The reader works on files, so each input is written to one scratch file of this process.
QString scratchPath;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    scratchPath = QDir::temp().filePath(
        QStringLiteral("ombrel-fuzz-archive-%1.omf").arg(QCoreApplication::applicationPid()));
    std::atexit([] { QFile::remove(scratchPath); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        QFile file(scratchPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::abort();
        }
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    // Small limits keep each run fast; the checks are the same at any limit.
    const ombrel::ArchiveLimits limits{std::int64_t{64} << 10, std::int64_t{64} << 10};
    auto archive =
        ombrel::ResourceArchive::open(scratchPath, ombrel::CodecRegistry::standard(), limits);
    if (!archive) {
        return 0;
    }
    archive->mount(scratchPath, 0); // every name again, from a second mount
    int fetched = 0;
    for (const ombrel::ArchiveEntry& entry : archive->entries()) {
        if (++fetched > 64) {
            break;
        }
        if (archive->find(entry.name) != &entry) {
            std::abort();
        }
        std::int64_t reported = -1;
        const ombrel::MallocBuffer member = archive->getfile(entry.name, reported);
        if (reported != entry.unpackedSize) {
            std::abort();
        }
        if (member.isNull()) {
            continue;
        }
        if (member.size() < reported) {
            std::abort();
        }
        // Callers read every reported byte: so does this, under the sanitizers' eyes.
        unsigned sum = 0;
        for (std::int64_t i = 0; i < reported; ++i) {
            sum += member.data()[i];
        }
        static_cast<void>(sum);
    }
    std::int64_t reported = -1;
    static_cast<void>(archive->getfile("config.xml", reported));
    return 0;
}
