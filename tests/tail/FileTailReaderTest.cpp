#include "tail/FileTailReader.h"

#include "support/TempFiles.h"
#include "tail/NativeFile.h"

#include <QDir>
#include <QFile>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using ombrel::FileTailReader;
using ombrel::TailSnapshot;
using ombrel::test::TempFiles;

TEST(FileTailReader, ReadsTheWindowOfTheCountFromTheEndOrTheStartAllocatingNoMore) {
    TempFiles files;
    const QString path = files.write(QStringLiteral("a.log"), "0123456789");
    const struct {
        std::int64_t count;
        bool head;
        QByteArray bytes;
        std::int64_t offset;
    } cases[] = {
        {11, false, "0123456789", 0},
        {9, false, "123456789", 1},
        {-5, false, "", 10},
        {4, true, "0123", 0},
    };
    for (const auto& [count, head, bytes, offset] : cases) {
        const auto snapshot = FileTailReader::read(path, count, {.head = head});
        ASSERT_TRUE(snapshot.opened);
        EXPECT_EQ(snapshot.bytes, bytes) << count;
        EXPECT_EQ(snapshot.offset, offset) << count;
        EXPECT_EQ(snapshot.fileSize, 10);
        EXPECT_EQ(snapshot.fileStart, "0123"); // the file's own first bytes, whatever the window
    }
    // A huge count on a small file allocates only what the file holds (a terabyte would fail).
    EXPECT_LE(FileTailReader::read(path, std::int64_t{1} << 40).bytes.capacity(), 64);
}

TEST(FileTailReader, FileOver2GiBShowsItsTailAndSize) {
    TempFiles files;
    QFile file(files.path(QStringLiteral("big.log")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    constexpr std::int64_t hole = (std::int64_t{3} << 30) + 7; // sparse: takes no disk space
    ASSERT_TRUE(file.resize(hole));
    ASSERT_TRUE(file.seek(hole));
    file.write("last line\n");
    file.close();

    const auto tail = FileTailReader::read(file.fileName(), 12);
    EXPECT_EQ(tail.fileSize, hole + 10);
    EXPECT_EQ(tail.offset, hole - 2);
    EXPECT_EQ(tail.bytes, QByteArray("\0\0last line\n", 12));
}

#ifndef _WIN32
namespace {
// Runs a read on its own thread, so a read that blocks fails the test instead of hanging it.
std::optional<TailSnapshot> readWithin(const QString& path, std::chrono::seconds limit) {
    std::promise<TailSnapshot> done;
    auto result = done.get_future();
    std::thread([path, promise = std::move(done)]() mutable {
        promise.set_value(FileTailReader::read(path, 100));
    }).detach();
    if (result.wait_for(limit) != std::future_status::ready) {
        return std::nullopt;
    }
    return result.get();
}
} // namespace

TEST(FileTailReader, OnlyRegularFilesOpenAndAFifoNeverBlocks) {
    TempFiles files;
    const QString fifo = files.path(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QDir(files.path(QString())).mkdir(QStringLiteral("folder"));
    // A device would give endless zeros.
    for (const QString& path :
         {fifo, files.path(QStringLiteral("none.log")), files.path(QStringLiteral("folder")),
          QStringLiteral("/dev/zero")}) {
        const auto snapshot = readWithin(path, std::chrono::seconds(5));
        ASSERT_TRUE(snapshot.has_value()) << "the read blocked on " << path.toStdString();
        EXPECT_FALSE(snapshot->opened) << path.toStdString();
        EXPECT_TRUE(snapshot->bytes.isEmpty());
    }
}
#endif

TEST(FileTailReader, NoHandleStaysOpenBetweenReads) {
    TempFiles files;
    const QString path = files.write(QStringLiteral("a.log"), "one");
    ASSERT_TRUE(FileTailReader::read(path, 10).opened);
#ifndef _WIN32
    const QString link = files.path(QStringLiteral("current.log"));
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_EQ(FileTailReader::read(link, 2).bytes, "ne"); // a link is followed
    for (const QFileInfo& fd :
         QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::Files | QDir::System)) {
        EXPECT_NE(fd.symLinkTarget(), QFileInfo(path).canonicalFilePath());
    }
#endif
    // On Windows an open handle would refuse the removal.
    ASSERT_TRUE(QFile::remove(path));
    files.write(QStringLiteral("a.log"), "two, rotated");
    EXPECT_EQ(FileTailReader::read(path, 7).bytes, "rotated");
#ifndef _WIN32
    EXPECT_EQ(FileTailReader::read(link, 7).bytes, "rotated");
#endif
}

TEST(NativeFile, AnOpenFileLetsItsWriterAppendRenameAndDeleteIt) {
    TempFiles files;
    const QString path = files.write(QStringLiteral("a.log"), "one\n");
    const auto open = ombrel::NativeFile::openRegular(path);
    ASSERT_TRUE(open);
    // On Windows each of these needs the reader's handle to share writing or deleting.
    QFile writer(path);
    ASSERT_TRUE(writer.open(QIODevice::Append));
    EXPECT_EQ(writer.write("two\n"), 4);
    writer.close();
    const QString rotated = files.path(QStringLiteral("a.log.1"));
    EXPECT_TRUE(QFile::rename(path, rotated));
    EXPECT_TRUE(QFile::remove(rotated));
    char buffer[8] = {};
    EXPECT_EQ(open->readAt(0, buffer, 8), 8);
    EXPECT_EQ(QByteArray(buffer, 8), "one\ntwo\n");
    ASSERT_TRUE(open->status());
    EXPECT_EQ(open->status()->size, 8);
}
