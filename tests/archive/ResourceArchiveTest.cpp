#include "archive/ResourceArchive.h"

#include "ArchiveTestFiles.h"
#include "archive/ArchiveWriter.h"
#include "archive/BlockCodec.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace ombrel;
using namespace ombrel::test;

namespace {

QByteArray encodedWith(CodecTag tag, const QByteArray& plain) {
    return encodeBlock(plain, tag, CodecRegistry::standard()).toByteArray();
}

// A hand-made archive: body from offset 12, then a directory of entries.
QByteArray laidOut(const QByteArray& body, const std::vector<RawEntry>& entries) {
    const QByteArray directory = directoryBytes(entries);
    return rawArchive(body, directory, static_cast<std::int32_t>(directory.size()));
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
    if (member.size() < reported) {
        return "<shorter than reported>";
    }
    return member.view().first(static_cast<qsizetype>(reported)).toByteArray();
}

} // namespace

TEST(ResourceArchive, TrailerLocatesAnAppendedArchiveWhoseMembersGoByTheirExactNameBytes) {
    TempFiles files;
    const QByteArray host(777, 'h');
    const QByteArray config = "<Config><Time>5</Time></Config>";
    const QByteArray picture(5000, 'p');
    const QByteArray archiveBytes =
        archiveOf({{"config.xml", config}, {"images\\splash.bmp", picture}});
    const auto archive = ResourceArchive::open(
        files.write(u"host.bin"_qs, ArchiveWriter::appendWithTrailer(host, archiveBytes)));
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->files()[0].basePosition, 777);
    EXPECT_EQ(fetch(*archive, "config.xml"), config);
    EXPECT_EQ(fetch(*archive, "images\\splash.bmp"), picture);
    std::int64_t size = -1;
    for (const char* other : {"images\\Splash.bmp", "images/splash.bmp"}) {
        EXPECT_EQ(fetch(*archive, other, &size), "<null>") << other;
        EXPECT_EQ(size, 0);
    }

    // An explicit start position works without a trailer.
    ResourceArchive mounted;
    ASSERT_TRUE(mounted.mount(files.write(u"plain.bin"_qs, host + archiveBytes), 777));
    EXPECT_EQ(fetch(mounted, "config.xml"), config);
}

TEST(ResourceArchive, FilesWithoutAnArchiveDoNotOpen) {
    TempFiles files;
    const QByteArray good = archiveOf({{"m", "data"}});
    const std::pair<const char*, QByteArray> cases[] = {
        {"empty", ""},
        {"no magic", "XFL3" + good.mid(4)},
        {"header cut", good.first(9)},
        {"trailer mark without archive", QByteArray("junk junk junk") + u32(14) + "3CFL"},
        {"trailer pointing before the file", QByteArray("xx") + good + u32(0x7FFFFFFF) + "3CFL"},
        {"damaged trailer mark", "host" + good + u32(4) + "3CFM"},
    };
    for (const auto& [label, bytes] : cases) {
        EXPECT_FALSE(ResourceArchive::open(files.write(u"bad.omf"_qs, bytes))) << label;
    }
    EXPECT_FALSE(ResourceArchive::open(files.path(u"missing.omf"_qs)));
}

TEST(ResourceArchive, LaterDuplicateWinsWithAllItsFields) {
    TempFiles files;
    const QByteArray blockA = block("first");
    const auto atB = static_cast<std::uint32_t>(12 + blockA.size());
    const auto archive = ResourceArchive::open(
        files.write(u"d.omf"_qs, laidOut(blockA + block(encodedWith(codec_id::zlib, "second!")),
                                         {{"dup", 5, 12, codec_id::none},
                                          {"other", 5, 12, codec_id::none},
                                          {"dup", 7, atB, codec_id::zlib}})));
    ASSERT_TRUE(archive);
    ASSERT_EQ(archive->entries().size(), 2u);
    EXPECT_EQ(archive->entries()[0].name, "dup"); // keeps its first place
    EXPECT_EQ(archive->entries()[0].tag, codec_id::zlib);
    EXPECT_EQ(fetch(*archive, "dup"), "second!");

    // A later mount bringing the name again wins the same way.
    ASSERT_TRUE(
        archive->mount(files.write(u"d2.omf"_qs, archiveOf({{"other", "from the second file"}}))));
    EXPECT_EQ(archive->entries().size(), 2u);
    EXPECT_EQ(fetch(*archive, "other"), "from the second file");
    EXPECT_EQ(fetch(*archive, "dup"), "second!");
}

TEST(ResourceArchive, TagsSelectCodecsAndTheDirectorySizeIsReported) {
    TempFiles files;
    const QByteArray plain = "0123456789 0123456789 0123456789";
    const QByteArray null = "<null>";
    const struct {
        QByteArray stored;
        std::uint32_t reported;
        CodecTag tag;
        QByteArray expected;
    } cases[] = {
        // A tag that cannot be decoded still reports the size.
        {plain, 32, 0x40001, null},
        // Larger than decoded: zero-filled; smaller: cut; beyond the reader's limit: no buffer.
        {"abc", 10, 0, QByteArray("abc") + QByteArray(7, '\0')},
        {"abc", 2, 0, "ab"},
        {"abc", 0xFFFFFFFF, 0, null},
    };
    for (const auto& [stored, reported, tag, expected] : cases) {
        const auto archive = ResourceArchive::open(
            files.write(u"t.omf"_qs, laidOut(block(stored), {{"m", reported, 12, tag}})));
        ASSERT_TRUE(archive);
        std::int64_t size = 0;
        EXPECT_EQ(fetch(*archive, "m", &size), expected) << tag << " " << reported;
        EXPECT_EQ(size, reported);
    }
    // The directory's own tag follows the same rules.
    const QByteArray directory = directoryBytes({{"m", 1, 12, 0}});
    EXPECT_FALSE(ResourceArchive::open(files.write(
        u"t4.omf"_qs,
        rawArchive(block("x"), directory, static_cast<std::int32_t>(directory.size()), 0x40000))));
}

// Any cut or damage fails cleanly (the archive fuzzer checks every fetch); these are the errors.
TEST(ResourceArchive, BlocksPastTheEndFailWithTheirSize) {
    TempFiles files;
    const QString path = files.write(
        u"c.omf"_qs, laidOut(block("abc"), {{"m", 3, 12, 0}, {"beyond", 4, 100000, 0}}));
    const auto archive = ResourceArchive::open(path);
    ASSERT_TRUE(archive);
    std::int64_t size = 0;
    EXPECT_EQ(fetch(*archive, "beyond", &size), "<null>");
    EXPECT_EQ(size, 4);
    // The file is reopened for each fetch: once it is gone, fetching fails.
    EXPECT_EQ(fetch(*archive, "m"), "abc");
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(fetch(*archive, "m", &size), "<null>");
    EXPECT_EQ(size, 3);
}

TEST(ResourceArchive, DirectoryParseStaysWithinTheDecodedBytes) {
    TempFiles files;
    const QByteArray body = block("data");
    const QByteArray two = directoryBytes({{"one", 4, 12, 0}, {"two", 4, 12, 0}});
    const struct {
        QByteArray directory;
        std::int32_t declared;
        std::size_t entries;
    } cases[] = {
        {two, 5000, 2}, // declared longer than decoded: the entries there are read
        // A name running past the end drops its entry.
        {directoryBytes({{"one", 4, 12, 0}, {"two", 4, 12, 0, 400}}), 5000, 1},
        {two, 1, 1},  // declared shorter: parsing stops once the declared length is reached
        {two, -1, 0}, // a negative length gives no entries at all
    };
    for (const auto& [directory, declared, entries] : cases) {
        const auto archive =
            ResourceArchive::open(files.write(u"p.omf"_qs, rawArchive(body, directory, declared)));
        ASSERT_TRUE(archive);
        EXPECT_EQ(archive->entries().size(), entries) << declared;
        std::int64_t size = -1;
        EXPECT_EQ(fetch(*archive, "one", &size), entries > 0 ? "data" : "<null>") << declared;
        EXPECT_EQ(size, entries > 0 ? 4 : 0);
    }
    // A directory block running past the end of the file fails the mount.
    QByteArray cutDirectory = rawArchive(body, two, 5000);
    cutDirectory.chop(1);
    EXPECT_FALSE(ResourceArchive::open(files.write(u"p5.omf"_qs, cutDirectory)));
}
