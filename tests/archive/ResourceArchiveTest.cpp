#include "archive/ResourceArchive.h"

#include "ArchiveTestFiles.h"
#include "archive/ArchiveWriter.h"
#include "archive/BlockCodec.h"

#include <QFile>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ombrel;
using namespace ombrel::test;

namespace {

const QByteArray splashName = "images\\splash.bmp";

QByteArray encodedWith(CodecTag tag, const QByteArray& plain) {
    return encodeBlock(plain, tag, CodecRegistry::standard()).toByteArray();
}

QByteArray archiveOf(std::initializer_list<std::pair<QByteArray, QByteArray>> members,
                     CodecTag tag = codec_id::zlib) {
    ArchiveWriter writer;
    for (const auto& [name, data] : members) {
        EXPECT_TRUE(writer.addMember(name, data, tag)) << writer.errorString().toStdString();
    }
    return writer.toBytes().value_or(QByteArray());
}

// The member's bytes as getfile hands them out, cut to the reported size; "<null>" on failure.
QByteArray fetch(const ResourceArchive& archive, const QByteArray& name,
                 std::int64_t* size = nullptr) {
    std::int64_t reported = -1;
    const MallocBuffer member = archive.getfile(name, reported);
    if (size) {
        *size = reported;
    }
    if (member.isNull()) {
        return "<null>";
    }
    EXPECT_GE(member.size(), reported);
    return member.view().first(static_cast<qsizetype>(reported)).toByteArray();
}

// One member "m" of unpackedSize whose block holds stored, with the given tag.
QByteArray singleMemberArchive(const QByteArray& stored, std::uint32_t unpackedSize, CodecTag tag) {
    const QByteArray directory = directoryBytes({{"m", unpackedSize, 12, tag}});
    return rawArchive(block(stored), directory, static_cast<std::int32_t>(directory.size()));
}

} // namespace

TEST(ResourceArchive, FetchesMembersWrittenByTheWriter) {
    ArchiveFiles files;
    const QByteArray config = "<Config><Time>5</Time></Config>";
    const QByteArray picture(5000, 'p');
    const QString path =
        files.write("a.omf", archiveOf({{"config.xml", config}, {splashName, picture}}));
    const auto archive = ResourceArchive::open(path);
    ASSERT_TRUE(archive);
    std::int64_t size = 0;
    EXPECT_EQ(fetch(*archive, "config.xml", &size), config);
    EXPECT_EQ(size, config.size());
    EXPECT_EQ(fetch(*archive, splashName), picture);
    ASSERT_EQ(archive->files().size(), 1u);
    EXPECT_EQ(archive->files()[0].basePosition, 0);
}

TEST(ResourceArchive, NamesAreExactBytes) {
    ArchiveFiles files;
    const auto archive =
        ResourceArchive::open(files.write("a.omf", archiveOf({{splashName, "x"}})));
    ASSERT_TRUE(archive);
    for (const QByteArray& other :
         {QByteArray("images\\Splash.bmp"), QByteArray("images/splash.bmp"),
          QByteArray("IMAGES\\SPLASH.BMP"), QByteArray("splash.bmp"),
          QByteArray("images\\splash.bmp ")}) {
        std::int64_t size = -1;
        EXPECT_EQ(fetch(*archive, other, &size), "<null>") << other.constData();
        EXPECT_EQ(size, 0);
    }
    EXPECT_NE(archive->find(splashName), nullptr);
}

TEST(ResourceArchive, TrailerLocatesAnAppendedArchive) {
    ArchiveFiles files;
    const QByteArray host(777, 'h');
    const QByteArray archiveBytes = archiveOf({{"config.xml", "<a/>"}});
    const QString path =
        files.write("host.bin", ArchiveWriter::appendWithTrailer(host, archiveBytes));
    const auto archive = ResourceArchive::open(path);
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->files()[0].basePosition, 777);
    EXPECT_EQ(fetch(*archive, "config.xml"), "<a/>");

    // An explicit start position works without a trailer.
    ResourceArchive mounted;
    ASSERT_TRUE(mounted.mount(files.write("plain.bin", host + archiveBytes), 777));
    EXPECT_EQ(fetch(mounted, "config.xml"), "<a/>");
}

TEST(ResourceArchive, FilesWithoutAnArchiveDoNotOpen) {
    ArchiveFiles files;
    const QByteArray good = archiveOf({{"m", "data"}});
    const QByteArray trailerOf = [&] {
        QByteArray t = ArchiveWriter::appendWithTrailer("host", good);
        return t.right(8);
    }();
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"empty", ""},
        {"no magic", "XFL3" + good.mid(4)},
        {"lower-case magic", "cfl3" + good.mid(4)},
        {"magic only", "CFL3"},
        {"header cut", good.first(9)},
        {"trailer mark without archive", QByteArray("junk junk junk") + u32(14) + "3CFL"},
        {"trailer pointing before the file", QByteArray("xx") + good + u32(0x7FFFFFFF) + "3CFL"},
        {"trailer pointing at itself", QByteArray("xx") + u32(8) + "3CFL"},
        {"trailer of zero", QByteArray("xx") + u32(0) + "3CFL"},
        {"damaged trailer mark", "host" + good + trailerOf.first(4) + "3CFM"},
    };
    for (const auto& [label, bytes] : cases) {
        EXPECT_FALSE(ResourceArchive::open(files.write("bad.omf", bytes))) << label;
    }
    EXPECT_FALSE(ResourceArchive::open(files.path("missing.omf")));
}

TEST(ResourceArchive, EmptyOrNegativeDirectoryLengthGivesNoEntries) {
    ArchiveFiles files;
    const QByteArray directory = directoryBytes({{"m", 1, 12, 0}});
    for (std::int32_t length : {0, -1, -14, INT32_MIN}) {
        const auto archive =
            ResourceArchive::open(files.write("e.omf", rawArchive(block("x"), directory, length)));
        ASSERT_TRUE(archive) << length;
        EXPECT_TRUE(archive->entries().empty());
        std::int64_t size = -1;
        EXPECT_EQ(fetch(*archive, "m", &size), "<null>");
        EXPECT_EQ(size, 0);
    }
}

TEST(ResourceArchive, LaterDuplicateWinsWithAllItsFields) {
    ArchiveFiles files;
    // Block A (plain, None) at 12 and block B (ZLIB) after it.
    const QByteArray blockA = block("first");
    const QByteArray blockB = block(encodedWith(codec_id::zlib, "second!"));
    const QByteArray directory = directoryBytes(
        {{"dup", 5, 12, codec_id::none},
         {"other", 5, 12, codec_id::none},
         {"dup", 7, static_cast<std::uint32_t>(12 + blockA.size()), codec_id::zlib}});
    const auto archive = ResourceArchive::open(
        files.write("d.omf", rawArchive(blockA + blockB, directory,
                                        static_cast<std::int32_t>(directory.size()))));
    ASSERT_TRUE(archive);
    ASSERT_EQ(archive->entries().size(), 2u);
    EXPECT_EQ(archive->entries()[0].name, "dup"); // keeps its first place
    EXPECT_EQ(archive->entries()[0].tag, codec_id::zlib);
    EXPECT_EQ(fetch(*archive, "dup"), "second!");

    // A later mount bringing the name again wins the same way.
    ASSERT_TRUE(
        archive->mount(files.write("d2.omf", archiveOf({{"other", "from the second file"}}))));
    EXPECT_EQ(archive->entries().size(), 2u);
    EXPECT_EQ(archive->find("other")->fileIndex, 1);
    EXPECT_EQ(fetch(*archive, "other"), "from the second file");
    EXPECT_EQ(fetch(*archive, "dup"), "second!");
}

TEST(ResourceArchive, MemberTagsSelectTheirCodecs) {
    ArchiveFiles files;
    const QByteArray plain = "0123456789 0123456789 0123456789";
    // 0x10000: None then Delta8.
    auto archive = ResourceArchive::open(
        files.write("t1.omf", singleMemberArchive(encodedWith(0x10000, plain), 32, 0x10000)));
    ASSERT_TRUE(archive);
    EXPECT_EQ(fetch(*archive, "m"), plain);
    // 0x101: ZLIB through the low byte.
    archive = ResourceArchive::open(
        files.write("t2.omf", singleMemberArchive(encodedWith(codec_id::zlib, plain), 32, 0x101)));
    ASSERT_TRUE(archive);
    EXPECT_EQ(fetch(*archive, "m"), plain);
    // A top-byte stage or filter id 4 cannot be decoded; the size is still reported.
    for (CodecTag tag : {0x01000000u, 0x80000001u, 0x40000u, 0x40001u}) {
        archive = ResourceArchive::open(files.write("t3.omf", singleMemberArchive(plain, 32, tag)));
        ASSERT_TRUE(archive);
        std::int64_t size = 0;
        EXPECT_EQ(fetch(*archive, "m", &size), "<null>") << tag;
        EXPECT_EQ(size, 32);
    }
    // The directory's own tag follows the same rules.
    const QByteArray directory = directoryBytes({{"m", 1, 12, 0}});
    EXPECT_FALSE(ResourceArchive::open(
        files.write("t4.omf", rawArchive(block("x"), directory,
                                         static_cast<std::int32_t>(directory.size()), 0x40000))));
}

TEST(ResourceArchive, ReportsTheDirectorySizeAndPadsShortDecodes) {
    ArchiveFiles files;
    // Larger than the decoded 3 bytes: the buffer is zero-filled to the reported size.
    auto archive = ResourceArchive::open(files.write("s1.omf", singleMemberArchive("abc", 10, 0)));
    ASSERT_TRUE(archive);
    std::int64_t size = 0;
    EXPECT_EQ(fetch(*archive, "m", &size), QByteArray("abc") + QByteArray(7, '\0'));
    EXPECT_EQ(size, 10);
    // Smaller: the size says 2 although 3 bytes were decoded.
    archive = ResourceArchive::open(files.write("s2.omf", singleMemberArchive("abc", 2, 0)));
    ASSERT_TRUE(archive);
    EXPECT_EQ(fetch(*archive, "m", &size), "ab");
    EXPECT_EQ(size, 2);
    // A size beyond the reader's limit is reported but not allocated.
    archive =
        ResourceArchive::open(files.write("s3.omf", singleMemberArchive("abc", 0xFFFFFFFF, 0)));
    ASSERT_TRUE(archive);
    EXPECT_EQ(fetch(*archive, "m", &size), "<null>");
    EXPECT_EQ(size, 0xFFFFFFFF);
}

TEST(ResourceArchive, CutMemberBlocksFailWithTheirSize) {
    ArchiveFiles files;
    const QByteArray directory = directoryBytes({{"long", 9, 12, 0}, {"beyond", 4, 100000, 0}});
    // The block says 1000 bytes but the directory record follows after 3.
    const QByteArray body = u32(1000) + "abc";
    const QString path = files.write(
        "c.omf", rawArchive(body, directory, static_cast<std::int32_t>(directory.size())));
    const auto archive = ResourceArchive::open(path);
    ASSERT_TRUE(archive);
    std::int64_t size = 0;
    EXPECT_EQ(fetch(*archive, "long", &size), "<null>");
    EXPECT_EQ(size, 9);
    EXPECT_EQ(fetch(*archive, "beyond", &size), "<null>");
    EXPECT_EQ(size, 4);
    // The file is reopened for each fetch: once it is gone, fetching fails.
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(fetch(*archive, "long", &size), "<null>");
    EXPECT_EQ(size, 9);
}

TEST(ResourceArchive, DirectoryParseStaysWithinTheDecodedBytes) {
    ArchiveFiles files;
    const QByteArray body = block("data");
    const QByteArray two = directoryBytes({{"one", 4, 12, 0}, {"two", 4, 12, 0}});
    // Declared longer than decoded: the entries that are there are read.
    auto archive = ResourceArchive::open(files.write("p1.omf", rawArchive(body, two, 5000)));
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->entries().size(), 2u);
    // An entry whose name would run past the end is dropped; earlier ones stay.
    const QByteArray runaway = directoryBytes({{"one", 4, 12, 0}, {"two", 4, 12, 0, 400}});
    archive = ResourceArchive::open(files.write("p2.omf", rawArchive(body, runaway, 5000)));
    ASSERT_TRUE(archive);
    ASSERT_EQ(archive->entries().size(), 1u);
    EXPECT_EQ(fetch(*archive, "one"), "data");
    // Fixed fields cut short end the parse as well.
    archive = ResourceArchive::open(
        files.write("p3.omf", rawArchive(body, two + QByteArray("\x04\0\0", 3), 5000)));
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->entries().size(), 2u);
    // Declared shorter than decoded: parsing stops once the declared length is reached.
    archive = ResourceArchive::open(files.write("p4.omf", rawArchive(body, two, 1)));
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->entries().size(), 1u);
    // A directory block running past the end of the file fails the mount.
    QByteArray cutDirectory = rawArchive(body, two, 5000);
    cutDirectory.chop(1);
    EXPECT_FALSE(ResourceArchive::open(files.write("p5.omf", cutDirectory)));
}

TEST(ResourceArchive, EveryCutOfAnArchiveFailsCleanly) {
    ArchiveFiles files;
    // Directory first, then the two member blocks, so that cuts keep the directory.
    const QByteArray first = encodedWith(codec_id::zlib, QByteArray(300, 'c'));
    const QByteArray second = "plain";
    const std::uint32_t firstAt = 12 + 8 + 2 * 14 + 2;
    const std::uint32_t secondAt = firstAt + 4 + static_cast<std::uint32_t>(first.size());
    const QByteArray directory =
        directoryBytes({{"a", 300, firstAt, codec_id::zlib}, {"b", 5, secondAt, codec_id::none}});
    const QByteArray whole = QByteArray("CFL3") + u32(12) +
                             u32(static_cast<std::uint32_t>(directory.size())) +
                             u32(codec_id::none) + block(directory) + block(first) + block(second);
    ASSERT_EQ(whole.size(), secondAt + 4 + second.size());
    for (qsizetype length = 0; length <= whole.size(); ++length) {
        const auto archive = ResourceArchive::open(files.write("cut.omf", whole.first(length)));
        ASSERT_EQ(archive != nullptr, length >= firstAt) << length;
        if (!archive) {
            continue;
        }
        const bool firstWhole = length >= secondAt;
        const bool secondWhole = length == whole.size();
        EXPECT_EQ(fetch(*archive, "a"), firstWhole ? QByteArray(300, 'c') : "<null>") << length;
        EXPECT_EQ(fetch(*archive, "b"), secondWhole ? second : "<null>") << length;
    }
}
