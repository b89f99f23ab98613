#include "tail/FileTailReader.h"

#include "TempFiles.h"
#include "tail/NativeFile.h"
#include "tail/TailTextDecoder.h"

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
using ombrel::NativeFile;
using ombrel::TailSnapshot;
using ombrel::TailTextDecoder;
using ombrel::test::TempFiles;

TEST(FileTailReader, WindowAtBelowAndOneAboveTheCount) {
    TempFiles files;
    const QString path = files.write(QStringLiteral("a.log"), "0123456789");

    const auto exact = FileTailReader::read(path, 10);
    ASSERT_TRUE(exact.opened);
    EXPECT_EQ(exact.bytes, "0123456789");
    EXPECT_EQ(exact.offset, 0);
    EXPECT_EQ(exact.fileSize, 10);

    const auto larger = FileTailReader::read(path, 11);
    EXPECT_EQ(larger.bytes, "0123456789");
    EXPECT_EQ(larger.offset, 0);

    const auto oneShort = FileTailReader::read(path, 9);
    EXPECT_EQ(oneShort.bytes, "123456789");
    EXPECT_EQ(oneShort.offset, 1);
    EXPECT_EQ(oneShort.fileStart, "0123"); // still the file's own first bytes
}

TEST(FileTailReader, CountZeroOrNegativeReadsNothingButRecordsTheStatus) {
    TempFiles files;
    const QString path = files.write(QStringLiteral("a.log"), "abc");
    for (const std::int64_t count : {std::int64_t{0}, std::int64_t{-5}}) {
        const auto snapshot = FileTailReader::read(path, count);
        EXPECT_TRUE(snapshot.opened);
        EXPECT_TRUE(snapshot.bytes.isEmpty());
        EXPECT_EQ(snapshot.fileSize, 3);
    }
    const auto empty = FileTailReader::read(files.write(QStringLiteral("empty.log"), ""), 100);
    EXPECT_TRUE(empty.opened);
    EXPECT_EQ(empty.fileSize, 0);
    EXPECT_TRUE(empty.bytes.isEmpty());
}

TEST(FileTailReader, HugeCountOnASmallFileAllocatesOnlyWhatTheFileHolds) {
    TempFiles files;
    const QString path = files.write(QStringLiteral("a.log"), "small");
    // A terabyte buffer would fail (and fail loudly under the address sanitiser).
    const auto snapshot = FileTailReader::read(path, std::int64_t{1} << 40);
    ASSERT_TRUE(snapshot.opened);
    EXPECT_EQ(snapshot.bytes, "small");
    EXPECT_LE(snapshot.bytes.capacity(), 64);
}

TEST(FileTailReader, HeadTakesTheFirstBytes) {
    TempFiles files;
    const QString path = files.write(QStringLiteral("a.log"), "0123456789");
    const auto head = FileTailReader::read(path, 4, {.head = true});
    EXPECT_EQ(head.bytes, "0123");
    EXPECT_EQ(head.offset, 0);
    EXPECT_EQ(FileTailReader::read(path, 40, {.head = true}).bytes, "0123456789");
}

TEST(FileTailReader, ZeroBytesAreKeptAndTheTextAfterThemShows) {
    TempFiles files;
    const QByteArray bytes("before\0\0\0after\n", 15);
    const auto snapshot = FileTailReader::read(files.write(QStringLiteral("a.log"), bytes), 100);
    EXPECT_EQ(snapshot.bytes, bytes);
    EXPECT_EQ(TailTextDecoder::displayText(snapshot), QStringLiteral("before␀␀␀after\n"));
}

TEST(FileTailReader, ModificationTimeKeepsItsFractionOfASecond) {
    TempFiles files;
    const QString path = files.write(QStringLiteral("a.log"), "x");
    files.setModified(QStringLiteral("a.log"), 1'700'000'000'123);
    const auto snapshot = FileTailReader::read(path, 10);
    EXPECT_EQ(snapshot.modTime.seconds, 1'700'000'000);
    EXPECT_EQ(snapshot.modTime.nanoseconds, 123'000'000);
    EXPECT_EQ(NativeFile::statusByPath(path), snapshot.status());
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

    const auto tail = FileTailReader::read(file.fileName(), 10);
    ASSERT_TRUE(tail.opened);
    EXPECT_EQ(tail.fileSize, hole + 10);
    EXPECT_EQ(tail.offset, hole);
    EXPECT_EQ(tail.bytes, "last line\n");

    const auto across = FileTailReader::read(file.fileName(), 12);
    EXPECT_EQ(across.bytes, QByteArray("\0\0last line\n", 12));
}

TEST(FileTailReader, MissingFileFolderAndDeviceCannotBeOpened) {
    TempFiles files;
    EXPECT_FALSE(FileTailReader::read(files.path(QStringLiteral("none.log")), 10).opened);
    QDir(files.path(QString())).mkdir(QStringLiteral("folder"));
    EXPECT_FALSE(FileTailReader::read(files.path(QStringLiteral("folder")), 10).opened);
#ifndef _WIN32
    // Reading a device would return endless zeros.
    EXPECT_FALSE(FileTailReader::read(QStringLiteral("/dev/zero"), 10).opened);
#endif
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

TEST(FileTailReader, FifoCannotBeOpenedAndNeverBlocks) {
    TempFiles files;
    const QString path = files.path(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const auto snapshot = readWithin(path, std::chrono::seconds(5));
    ASSERT_TRUE(snapshot.has_value()) << "the read blocked on a FIFO without a writer";
    EXPECT_FALSE(snapshot->opened);
    EXPECT_TRUE(snapshot->bytes.isEmpty());
}

TEST(FileTailReader, LinkToAFileIsFollowed) {
    TempFiles files;
    const QString target = files.write(QStringLiteral("real.log"), "through the link");
    const QString link = files.path(QStringLiteral("current.log"));
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_EQ(FileTailReader::read(link, 4).bytes, "link");
}
#endif

TEST(FileTailReader, NoHandleStaysOpenBetweenReads) {
    TempFiles files;
    const QString path = files.write(QStringLiteral("a.log"), "one");
    ASSERT_TRUE(FileTailReader::read(path, 10).opened);
#ifndef _WIN32
    // An open handle would keep the file's directory entry in use on Windows; on Linux check
    // the process's own descriptors.
    const QString fdDir = QStringLiteral("/proc/self/fd");
    for (const QFileInfo& entry : QDir(fdDir).entryInfoList(QDir::Files | QDir::System)) {
        EXPECT_NE(entry.symLinkTarget(), QFileInfo(path).canonicalFilePath());
    }
#endif
    ASSERT_TRUE(QFile::remove(path));
    files.write(QStringLiteral("a.log"), "two, rotated");
    EXPECT_EQ(FileTailReader::read(path, 100).bytes, "two, rotated");
}
