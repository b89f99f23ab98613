#include "archive/BlockCodec.h"
#include "archive/CodecRegistry.h"
#include "archive/NameHash.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace ombrel;

namespace {

const CodecRegistry& codecs = CodecRegistry::standard();

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray result;
    for (int value : values) {
        result += static_cast<char>(value);
    }
    return result;
}

QByteArray randomBytes(qsizetype size, bool compressible) {
    QByteArray result(size, '\0');
    for (qsizetype i = 0; i < size; ++i) {
        result[i] = compressible ? "log line: ok\n"[i % 13]
                                 : static_cast<char>(QRandomGenerator::global()->bounded(256));
    }
    return result;
}

QByteArray encoded(CodecTag id, const QByteArray& plain) {
    return codecs.find(id)->encode(plain).toByteArray();
}

} // namespace

// Round trips of every codec at any length are the codec fuzzer's.
TEST(DeltaCodecs, DescribedExamples) {
    const std::pair<CodecTag, std::pair<QByteArray, QByteArray>> cases[] = {
        // The trailing odd byte is left alone.
        {codec_id::delta16, {bytes({1, 0, 3, 0, 7}), bytes({1, 0, 2, 0, 7})}},
        {codec_id::delta8, {bytes({0xFF, 0x01}), bytes({0xFF, 0x02})}}, // modulo 256
        // One unit and two remainder bytes change nothing; 3 bytes hold no unit.
        {codec_id::delta32, {bytes({1, 2, 3, 4, 9, 9}), bytes({1, 2, 3, 4, 9, 9})}},
        {codec_id::delta32, {bytes({7, 8, 9}), bytes({7, 8, 9})}},
        // Two units subtract with a borrow across bytes.
        {codec_id::delta32,
         {bytes({0, 1, 0, 0, 1, 0, 0, 0, 0x55}), bytes({0, 1, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0x55})}},
    };
    for (const auto& [id, example] : cases) {
        EXPECT_EQ(encoded(id, example.first), example.second) << id;
    }
}

TEST(ZlibCodec, DecodesOnlyWhatASoundStreamYieldsWithinItsLimits) {
    const Codec& zlib = *codecs.find(codec_id::zlib);
    const QByteArray plain = randomBytes(2000, true);
    const QByteArray stored = encoded(codec_id::zlib, plain);
    EXPECT_EQ(stored.first(4), bytes({0xD0, 0x07, 0, 0})); // 2000
    // The last byte is part of the stream's Adler-32, which is checked but may be missing.
    QByteArray spoiled = stored;
    spoiled.back() = static_cast<char>(spoiled.back() ^ 0x5A);
    EXPECT_TRUE(zlib.decode(spoiled).isNull());
    EXPECT_EQ(zlib.decode(stored.first(stored.size() - 4)).toByteArray(), plain);
    QByteArray damaged = stored;
    damaged[4] = 0x00; // not a zlib header
    EXPECT_TRUE(zlib.decode(damaged).isNull());
    EXPECT_TRUE(zlib.decode(QByteArray(3, '\x10')).isNull()); // shorter than the size prefix
    // A prefix beyond the caller's limit is refused before anything is inflated.
    EXPECT_TRUE(zlib.decode(stored, 1999).isNull());
    EXPECT_FALSE(zlib.decode(stored, 2000).isNull());

    // A prefix that promises 4 GiB gets the 2000 bytes there are, not a 4 GiB buffer.
    const QByteArray stream = stored.sliced(4);
    EXPECT_EQ(zlib.decode(bytes({0xFF, 0xFF, 0xFF, 0xFF}) + stream).toByteArray(), plain);
    // A stream cut in the middle keeps what it yielded and reads nothing beyond it.
    const MallocBuffer cut = zlib.decode(stored.first(4 + stream.size() / 2));
    ASSERT_FALSE(cut.isNull());
    EXPECT_LT(cut.size(), plain.size());
    EXPECT_EQ(cut.toByteArray(), plain.first(cut.size()));
}

TEST(BlockCodec, TagsNameTheStagesAndTheirOrder) {
    const QByteArray plain = randomBytes(999, false);
    for (CodecTag tag : {0x10000u, 0x30001u, 0x20101u}) {
        const MallocBuffer stored = encodeBlock(plain, tag, codecs);
        ASSERT_FALSE(stored.isNull()) << tag;
        EXPECT_EQ(decodeBlock(stored.view(), tag, codecs).toByteArray(), plain) << tag;
    }
    // 0x101: no codec has id 0x101, so its low byte names ZLIB.
    EXPECT_EQ(decodeBlock(encoded(codec_id::zlib, plain), 0x101, codecs).toByteArray(), plain);
    // No outer stage exists, and filter ids stop at 3.
    for (CodecTag tag : {0x01000000u, 0x40001u, 0x02u}) {
        EXPECT_TRUE(decodeBlock(plain, tag, codecs).isNull()) << tag;
        EXPECT_TRUE(encodeBlock(plain, tag, codecs).isNull()) << tag;
    }
}

TEST(NameHash, MatchesTheArchiveFormat) {
    EXPECT_EQ(nameHash(""), 0);
    EXPECT_EQ(nameHash("images\\splash.bmp"), 27016500);
    // Negative intermediate values shift in ones from the left.
    EXPECT_EQ(nameHash("config.xml"), -1465821330);
    EXPECT_EQ(nameHash("zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz\xc3\xbf"), -484518043);
    EXPECT_EQ(nameHash(QByteArrayView("ab\0cd", 5)), nameHash("ab")); // the name ends at a NUL
}
