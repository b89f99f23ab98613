// ombrel-pack: builds, lists and unpacks the program's resource archives.
#include "archive/ArchiveWriter.h"
#include "archive/ResourceArchive.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

using namespace ombrel;

namespace {

constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

const char* const usageText =
    "usage: ombrel-pack create ARCHIVE [--tag HEX] NAME=FILE ...\n"
    "       ombrel-pack list ARCHIVE\n"
    "       ombrel-pack extract ARCHIVE NAME [OUTFILE]\n"
    "\n"
    "create   builds ARCHIVE from FILEs stored under NAMEs; --tag sets the codec tag\n"
    "         (hexadecimal) of the members after it, ZLIB (1) by default\n"
    "list     prints each member's name, unpacked size and tag\n"
    "extract  writes the member NAME to OUTFILE, or to standard output\n";

void printError(const QString& message) {
    std::fprintf(stderr, "ombrel-pack: %s\n", message.toLocal8Bit().constData());
}

int usage(const QString& problem) {
    printError(problem);
    std::fputs(usageText, stderr);
    return exitUsage;
}

QString shown(const QByteArray& bytes) {
    return QString::fromLocal8Bit(bytes);
}

std::optional<CodecTag> parseTag(const QByteArray& text) {
    QByteArray digits = text;
    if (digits.startsWith("0x") || digits.startsWith("0X")) {
        digits.remove(0, 2);
    }
    bool ok = false;
    const qulonglong value = digits.toULongLong(&ok, 16);
    if (!ok || digits.isEmpty() || digits.startsWith('+') || digits.startsWith('-') ||
        value > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<CodecTag>(value);
}

int create(const std::vector<QByteArray>& args) {
    if (args.empty()) {
        return usage(QStringLiteral("create needs an archive name"));
    }
    const QString archivePath = QFile::decodeName(args[0]);
    ArchiveWriter writer;
    CodecTag tag = codec_id::zlib;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--tag") {
            if (i + 1 == args.size()) {
                return usage(QStringLiteral("--tag needs a hexadecimal value"));
            }
            const auto parsed = parseTag(args[++i]);
            if (!parsed) {
                return usage(
                    QStringLiteral("not a 32-bit hexadecimal tag: %1").arg(shown(args[i])));
            }
            tag = *parsed;
            continue;
        }
        const qsizetype equals = args[i].indexOf('=');
        if (equals <= 0 || equals == args[i].size() - 1) {
            return usage(QStringLiteral("expected NAME=FILE, got: %1").arg(shown(args[i])));
        }
        const QByteArray name = args[i].left(equals);
        QFile file(QFile::decodeName(args[i].mid(equals + 1)));
        if (!file.open(QIODevice::ReadOnly)) {
            printError(
                QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()));
            return exitFailure;
        }
        const QByteArray data = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            printError(
                QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()));
            return exitFailure;
        }
        if (!writer.addMember(name, data, tag)) {
            printError(writer.errorString());
            return exitFailure;
        }
    }
    if (!writer.writeTo(archivePath)) {
        printError(writer.errorString());
        return exitFailure;
    }
    return 0;
}

std::unique_ptr<ResourceArchive> openOrComplain(const QString& path) {
    auto archive = ResourceArchive::open(path);
    if (!archive) {
        printError(QStringLiteral("cannot open %1 as an archive").arg(path));
    }
    return archive;
}

int list(const std::vector<QByteArray>& args) {
    if (args.size() != 1) {
        return usage(QStringLiteral("list takes exactly one archive"));
    }
    const auto archive = openOrComplain(QFile::decodeName(args[0]));
    if (!archive) {
        return exitFailure;
    }
    for (const ArchiveEntry& entry : archive->entries()) {
        std::printf("%s\t%u\t0x%08x\n", entry.name.constData(), entry.unpackedSize, entry.tag);
    }
    return std::fflush(stdout) == 0 ? 0 : exitFailure;
}

bool writeAll(std::FILE* out, const unsigned char* bytes, std::int64_t size) {
    while (size > 0) {
        const std::size_t written = std::fwrite(bytes, 1, static_cast<std::size_t>(size), out);
        if (written == 0) {
            return false;
        }
        bytes += written;
        size -= static_cast<std::int64_t>(written);
    }
    return std::fflush(out) == 0;
}

int extract(const std::vector<QByteArray>& args) {
    if (args.size() != 2 && args.size() != 3) {
        return usage(
            QStringLiteral("extract takes an archive, a member name and an optional output file"));
    }
    const QString archivePath = QFile::decodeName(args[0]);
    const auto archive = openOrComplain(archivePath);
    if (!archive) {
        return exitFailure;
    }
    const QByteArray& name = args[1];
    std::int64_t size = 0;
    const MallocBuffer member = archive->getfile(name, size);
    if (member.isNull()) {
        printError(archive->find(name)
                       ? QStringLiteral("cannot read or decode member \"%1\" of %2")
                             .arg(shown(name), archivePath)
                       : QStringLiteral("%2 has no member \"%1\"").arg(shown(name), archivePath));
        return exitFailure;
    }
    if (args.size() == 2) {
#ifdef _WIN32
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        if (!writeAll(stdout, member.data(), size)) {
            printError(QStringLiteral("cannot write to standard output"));
            return exitFailure;
        }
        return 0;
    }
    QFile out(QFile::decodeName(args[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(reinterpret_cast<const char*>(member.data()), size) != size) {
        printError(QStringLiteral("cannot write %1: %2").arg(out.fileName(), out.errorString()));
        return exitFailure;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return usage(QStringLiteral("no command given"));
    }
    const QByteArray command(argv[1]);
    // Names are byte strings: they are taken from the command line as they are.
    std::vector<QByteArray> args;
    for (int i = 2; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    if (command == "create") {
        return create(args);
    }
    if (command == "list") {
        return list(args);
    }
    if (command == "extract") {
        return extract(args);
    }
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(usageText, stdout);
        return 0;
    }
    return usage(QStringLiteral("unknown command: %1").arg(shown(command)));
}
