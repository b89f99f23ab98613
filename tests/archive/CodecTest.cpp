#include "archive/BlockCodec.h"
#include "archive/CodecRegistry.h"
#include "archive/NameHash.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace ombrel;

namespace {

const CodecRegistry& codecs() {
    return CodecRegistry::standard();
}

const Codec& codec(CodecTag id) {
    const Codec* found = codecs().find(id);
    EXPECT_NE(found, nullptr) << id;
    return *found;
}

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray result;
    for (int value : values) {
        result += static_cast<char>(value);
    }
    return result;
}

QByteArray randomBytes(qsizetype size, bool compressible) {
    QByteArray result(size, '\0');
    auto* random = QRandomGenerator::global();
    for (qsizetype i = 0; i < size; ++i) {
        result[i] =
            compressible ? "log line: ok\n"[i % 13] : static_cast<char>(random->bounded(256));
    }
    return result;
}

QByteArray encoded(CodecTag id, const QByteArray& plain) {
    return codec(id).encode(plain).toByteArray();
}

} // namespace

TEST(DeltaCodecs, DescribedExamples) {
    // Delta16: the trailing odd byte is left alone.
    const QByteArray five = bytes({0x01, 0x00, 0x03, 0x00, 0x07});
    EXPECT_EQ(encoded(codec_id::delta16, five), bytes({0x01, 0x00, 0x02, 0x00, 0x07}));
    // Delta8 wraps modulo 256.
    EXPECT_EQ(encoded(codec_id::delta8, bytes({0xFF, 0x01})), bytes({0xFF, 0x02}));
    // Delta32 on 6 bytes: one unit and two remainder bytes, so nothing changes; two units
    // subtract with a borrow across bytes; 3 bytes hold no unit at all.
    const QByteArray six = bytes({1, 2, 3, 4, 9, 9});
    EXPECT_EQ(encoded(codec_id::delta32, six), six);
    EXPECT_EQ(encoded(codec_id::delta32, bytes({0x00, 0x01, 0, 0, 0x01, 0x00, 0, 0, 0x55})),
              bytes({0x00, 0x01, 0, 0, 0x01, 0xFF, 0xFF, 0xFF, 0x55}));
    EXPECT_EQ(encoded(codec_id::delta32, bytes({7, 8, 9})), bytes({7, 8, 9}));
}

TEST(Codecs, EveryCodecRoundTripsEveryLength) {
    for (CodecTag id :
         {codec_id::none, codec_id::zlib, codec_id::delta8, codec_id::delta16, codec_id::delta32}) {
        for (qsizetype size : {0, 1, 7, 70001}) {
            for (bool compressible : {false, true}) {
                const QByteArray plain = randomBytes(size, compressible);
                const MallocBuffer stored = codec(id).encode(plain);
                ASSERT_FALSE(stored.isNull()) << id << " " << size;
                const MallocBuffer back = codec(id).decode(stored.view());
                ASSERT_FALSE(back.isNull()) << id << " " << size;
                EXPECT_EQ(back.toByteArray(), plain) << id << " " << size;
            }
        }
    }
}

TEST(ZlibCodec, CheckValueIsStoredButNotRequired) {
    const QByteArray plain = randomBytes(5000, false);
    const QByteArray stored = encoded(codec_id::zlib, plain);
    EXPECT_EQ(stored.first(4), bytes({0x88, 0x13, 0, 0})); // 5000
    // Changing the last byte spoils the stream's Adler-32, so it must be part of the block.
    QByteArray spoiled = stored;
    spoiled[spoiled.size() - 1] = static_cast<char>(spoiled.back() ^ 0x5A);
    EXPECT_TRUE(codec(codec_id::zlib).decode(spoiled).isNull());
    // Without its check value the stream still decodes fully.
    EXPECT_EQ(codec(codec_id::zlib).decode(stored.first(stored.size() - 4)).toByteArray(), plain);
}

TEST(ZlibCodec, DecodesOnlyWhatASoundStreamYieldsWithinItsLimits) {
    const Codec& zlib = codec(codec_id::zlib);
    QByteArray damaged = encoded(codec_id::zlib, randomBytes(300, true));
    damaged[4] = 0x00; // not a zlib header
    EXPECT_TRUE(zlib.decode(damaged).isNull());
    EXPECT_TRUE(zlib.decode(QByteArray(3, '\x10')).isNull()); // shorter than the size prefix
    // A prefix beyond the caller's limit is refused before anything is inflated.
    const QByteArray stored = encoded(codec_id::zlib, randomBytes(100, true));
    EXPECT_TRUE(zlib.decode(stored, 99).isNull());
    EXPECT_FALSE(zlib.decode(stored, 100).isNull());

    const QByteArray plain = randomBytes(2000, true);
    const QByteArray stream = encoded(codec_id::zlib, plain).sliced(4);
    // A prefix that promises 4 GiB gets the 2000 bytes there are, not a 4 GiB buffer.
    EXPECT_EQ(zlib.decode(bytes({0xFF, 0xFF, 0xFF, 0xFF}) + stream).toByteArray(), plain);
    // A stream cut in the middle keeps what it yielded and reads nothing beyond it.
    const MallocBuffer cut =
        zlib.decode(bytes({0xD0, 0x07, 0, 0}) + stream.first(stream.size() / 2));
    ASSERT_FALSE(cut.isNull());
    EXPECT_LT(cut.size(), plain.size());
    EXPECT_EQ(cut.toByteArray(), plain.first(cut.size()));
}

TEST(BlockCodec, TagsNameTheStagesAndTheirOrder) {
    const QByteArray plain = randomBytes(999, true);
    for (CodecTag tag : {0x10000u, 0x30001u, 0x20101u}) {
        const MallocBuffer stored = encodeBlock(plain, tag, codecs());
        ASSERT_FALSE(stored.isNull()) << tag;
        EXPECT_EQ(decodeBlock(stored.view(), tag, codecs()).toByteArray(), plain) << tag;
    }
    // 0x101: no codec has id 0x101, so its low byte names ZLIB.
    EXPECT_EQ(decodeBlock(encoded(codec_id::zlib, plain), 0x101, codecs()).toByteArray(), plain);
    // No outer stage exists, and filter ids stop at 3.
    for (CodecTag tag : {0x01000000u, 0x40001u, 0x02u}) {
        EXPECT_TRUE(decodeBlock(plain, tag, codecs()).isNull()) << tag;
        EXPECT_TRUE(encodeBlock(plain, tag, codecs()).isNull()) << tag;
    }
}

TEST(NameHash, MatchesTheArchiveFormat) {
    EXPECT_EQ(nameHash(""), 0);
    EXPECT_EQ(nameHash("images\\splash.bmp"), 27016500);
    // Negative intermediate values shift in ones from the left.
    EXPECT_EQ(nameHash("config.xml"), -1465821330);
    EXPECT_EQ(nameHash("zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz\xc3\xbf"), -484518043);
    // The name ends at a NUL.
    EXPECT_EQ(nameHash(QByteArrayView("ab\0cd", 5)), nameHash("ab"));
}
