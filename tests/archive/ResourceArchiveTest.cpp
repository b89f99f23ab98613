#include "archive/ResourceArchive.h"

#include "ArchiveTestFiles.h"
#include "archive/BlockCodec.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace ombrel;
using namespace ombrel::test;

namespace {

// The member's bytes as getfile hands them out, cut to the reported size; "<null>" on failure.
QByteArray fetch(const ResourceArchive& archive, const QByteArray& name,
                 std::int64_t* size = nullptr) {
    std::int64_t reported = -1;
    const MallocBuffer member = archive.getfile(name, reported);
    if (size) {
        *size = reported;
    }
    if (member.isNull() || member.size() < reported) {
        return member.isNull() ? "<null>" : "<shorter than reported>";
    }
    return member.view().first(static_cast<qsizetype>(reported)).toByteArray();
}

} // namespace

// Any cut or damage fails cleanly (the archive fuzzer checks every fetch); these are the rules.
TEST(ResourceArchive, TrailerLocatesAnAppendedArchiveWhoseMembersGoByTheirExactNameBytes) {
    TempFiles files;
    const QByteArray host(777, 'h');
    const QByteArray config = "<Config><Time>5</Time></Config>";
    const QByteArray archiveBytes =
        archiveOf({{"config.xml", config}, {"images\\splash.bmp", QByteArray(5000, 'p')}});
    const auto archive = ResourceArchive::open(
        files.write(u"host.bin"_qs, ArchiveWriter::appendWithTrailer(host, archiveBytes)));
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->files()[0].basePosition, 777);
    EXPECT_EQ(fetch(*archive, "images\\splash.bmp"), QByteArray(5000, 'p'));
    std::int64_t size = -1;
    for (const char* other : {"images\\Splash.bmp", "images/splash.bmp"}) {
        EXPECT_EQ(fetch(*archive, other, &size), "<null>") << other;
        EXPECT_EQ(size, 0);
    }
    // An explicit start position works without a trailer.
    ResourceArchive mounted;
    ASSERT_TRUE(mounted.mount(files.write(u"plain.bin"_qs, host + archiveBytes), 777));
    EXPECT_EQ(fetch(mounted, "config.xml"), config);

    const QByteArray good = archiveOf({{"m", "data"}});
    for (const QByteArray& bad :
         {QByteArray(), "XFL3" + good.mid(4), good.first(9),
          QByteArray("junk junk junk") + u32(14) + "3CFL", // trailer mark without archive
          "xx" + good + u32(0x7FFFFFFF) + "3CFL",          // trailer pointing before the file
          "host" + good + u32(4) + "3CFM"}) {
        EXPECT_FALSE(ResourceArchive::open(files.write(u"bad.omf"_qs, bad)))
            << bad.toHex().constData();
    }
    EXPECT_FALSE(ResourceArchive::open(files.path(u"missing.omf"_qs)));
}

TEST(ResourceArchive, LaterDuplicateWinsWithAllItsFields) {
    TempFiles files;
    const QByteArray blockA = block("first");
    const QByteArray blockB =
        block(encodeBlock("second!", codec_id::zlib, CodecRegistry::standard()).toByteArray());
    const auto atB = static_cast<std::uint32_t>(12 + blockA.size());
    const auto archive = ResourceArchive::open(
        files.write(u"d.omf"_qs, rawArchive(blockA + blockB, {{"dup", 5, 12, codec_id::none},
                                                              {"other", 5, 12, codec_id::none},
                                                              {"dup", 7, atB, codec_id::zlib}})));
    ASSERT_TRUE(archive);
    ASSERT_EQ(archive->entries().size(), 2u);
    EXPECT_EQ(archive->entries()[0].name, "dup"); // keeps its first place
    EXPECT_EQ(fetch(*archive, "dup"), "second!");

    // A later mount bringing the name again wins the same way.
    ASSERT_TRUE(
        archive->mount(files.write(u"d2.omf"_qs, archiveOf({{"other", "from the second file"}}))));
    EXPECT_EQ(archive->entries().size(), 2u);
    EXPECT_EQ(fetch(*archive, "other"), "from the second file");
}

TEST(ResourceArchive, TagsSizesAndPlacesOfMembersAndTheDirectory) {
    TempFiles files;
    const QByteArray null = "<null>";
    const struct {
        std::uint32_t reported, offset;
        CodecTag tag;
        QByteArray expected;
    } cases[] = {
        {32, 12, 0x40001, null}, // a tag that cannot be decoded still reports the size
        // Larger than decoded: zero-filled; smaller: cut; beyond the reader's limit: no buffer.
        {10, 12, 0, QByteArray("abc") + QByteArray(7, '\0')},
        {2, 12, 0, "ab"},
        {0xFFFFFFFF, 12, 0, null},
        {4, 100000, 0, null}, // a block past the end
    };
    for (const auto& [reported, offset, tag, expected] : cases) {
        const QString path =
            files.write(u"t.omf"_qs, rawArchive(block("abc"), {{"m", reported, offset, tag}}));
        const auto archive = ResourceArchive::open(path);
        ASSERT_TRUE(archive);
        std::int64_t size = 0;
        EXPECT_EQ(fetch(*archive, "m", &size), expected) << tag << " " << reported;
        EXPECT_EQ(size, reported);
        // The file is reopened for each fetch: once it is gone, fetching fails.
        ASSERT_TRUE(QFile::remove(path));
        EXPECT_EQ(fetch(*archive, "m"), null);
    }
    // The directory's own tag follows the same rules.
    EXPECT_FALSE(ResourceArchive::open(
        files.write(u"t4.omf"_qs, rawArchive(block("x"), {{"m", 1, 12, 0}}, {}, 0x40000))));
}

TEST(ResourceArchive, DirectoryParseStaysWithinTheDecodedBytes) {
    TempFiles files;
    const QByteArray body = block("data");
    const std::vector<RawEntry> two = {{"one", 4, 12, 0}, {"two", 4, 12, 0}};
    const struct {
        std::vector<RawEntry> directory;
        std::int32_t declared;
        std::size_t entries;
    } cases[] = {
        {two, 5000, 2}, // declared longer than decoded: the entries there are read
        {{{"one", 4, 12, 0}, {"two", 4, 12, 0, 400}}, 5000, 1}, // a name past the end
        {two, 1, 1},  // declared shorter: parsing stops once the declared length is reached
        {two, -1, 0}, // a negative length gives no entries at all
    };
    for (const auto& [directory, declared, entries] : cases) {
        const auto archive =
            ResourceArchive::open(files.write(u"p.omf"_qs, rawArchive(body, directory, declared)));
        ASSERT_TRUE(archive);
        EXPECT_EQ(archive->entries().size(), entries) << declared;
        EXPECT_EQ(fetch(*archive, "one"), entries > 0 ? "data" : "<null>") << declared;
    }
    // A directory block running past the end of the file fails the mount.
    EXPECT_FALSE(
        ResourceArchive::open(files.write(u"p5.omf"_qs, rawArchive(body, two, 5000).chopped(1))));
}
