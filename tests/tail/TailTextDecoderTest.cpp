#include "tail/TailTextDecoder.h"

#include <gtest/gtest.h>

using ombrel::TailTextDecoder;

namespace {
QString utf8(QByteArrayView bytes, std::int64_t offset = 0) {
    return TailTextDecoder::decode(bytes, offset,
                                   bytes.first(std::min<qsizetype>(4, bytes.size())));
}

// The bytes of text in UTF-16 of the given order, with a byte-order mark in front.
QByteArray utf16File(const QString& text, bool littleEndian) {
    QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const QChar unit : text) {
        const auto high = static_cast<char>(unit.unicode() >> 8);
        const auto low = static_cast<char>(unit.unicode() & 0xFF);
        bytes.append(littleEndian ? low : high).append(littleEndian ? high : low);
    }
    return bytes;
}

QString utf16Window(const QByteArray& file, qsizetype offset, qsizetype length = -1) {
    return TailTextDecoder::decode(
        QByteArrayView(file).sliced(offset, length < 0 ? file.size() - offset : length), offset,
        QByteArrayView(file).first(4));
}
} // namespace

TEST(TailTextDecoder, Utf8WindowsDropCutCharactersAndMarkInvalidOnes) {
    const QByteArray text = "x€y😀z"; // € has 3 bytes, 😀 has 4
    const struct {
        QByteArrayView bytes;
        std::int64_t offset;
        QString expected;
    } cases[] = {
        {"ok \xFF\xFE then \xC3(\n", 0, QStringLiteral("ok \uFFFD\uFFFD then \uFFFD(\n")},
        // A character cut by the start of the window is dropped, but at the file's own start
        // the same bytes are invalid.
        {QByteArrayView(text).sliced(2), 2, QStringLiteral("y😀z")},
        {"\xA9z", 0, QStringLiteral("\uFFFDz")},
        // So is a character cut by the end of the window.
        {QByteArrayView(text).first(8), 0, QStringLiteral("x€y")},
        // Zero bytes show as placeholders and end nothing.
        {QByteArrayView("a\0\0b\n", 5), 0, QStringLiteral("a␀␀b\n")},
        // CR CR LF becomes LF CR; other line ends stay.
        {"a\r\r\nb\r\nc\nd\re", 0, QStringLiteral("a\n\rb\r\nc\nd\re")},
        {"\r\r\n\r\r\n", 0, QStringLiteral("\n\r\n\r")},
    };
    for (const auto& [bytes, offset, expected] : cases) {
        EXPECT_EQ(utf8(bytes, offset), expected) << bytes.toByteArray().toStdString();
    }
    // An encoded surrogate is no character either.
    EXPECT_EQ(utf8("a\xED\xA0\x80z").front(), u'a');
    EXPECT_FALSE(utf8("a\xED\xA0\x80z").contains(QChar(0xD800)));
}

TEST(TailTextDecoder, Utf16WithByteOrderMarkDecodesInBothOrdersAlignedToWholeCodeUnitsAndPairs) {
    const QString text = QStringLiteral("Zeile 1\r\nÄ€😀\r\n");
    for (const bool little : {true, false}) {
        const QByteArray file = utf16File(text, little);
        EXPECT_EQ(utf16Window(file, 0), text) << little;
        // A UTF-16 0 code unit is a 0 character, its 0 bytes are not.
        EXPECT_EQ(utf16Window(utf16File(QStringLiteral("a") + QChar(0) + u'b', little), 0),
                  QStringLiteral("a␀b"));
    }
    // An unpaired surrogate is invalid.
    const QString unpaired = QStringLiteral("a") + QChar(0xDC00) + u'b' + QChar(0xD800) + u'c';
    EXPECT_EQ(utf16Window(utf16File(unpaired, true), 0), QStringLiteral("a\uFFFDb\uFFFDc"));
    const QByteArray file = utf16File(QStringLiteral("ab😀cd"), true);
    // bytes: BOM 0-1, a 2-3, b 4-5, 😀 6-9 (high 6-7, low 8-9), c 10-11, d 12-13
    EXPECT_EQ(utf16Window(file, 5), QStringLiteral("😀cd"));   // odd start: half of b goes
    EXPECT_EQ(utf16Window(file, 8), QStringLiteral("cd"));    // starts on the low half
    EXPECT_EQ(utf16Window(file, 2, 6), QStringLiteral("ab")); // ends after the high half
}

TEST(TailTextDecoder, ALargeReadDecodesWholeAcrossItsPiecesAndSharedBytesStayIntact) {
    // 8 MiB pieces: a euro sign and a pair each straddle the first edge.
    const QString text = QString::fromUtf16(u"\u20AC").repeated(3'000'000);
    const QString pairs = QString::fromUtf16(u"\U0001F600").repeated(2'200'000);
    const struct {
        QByteArray bytes;
        QString text;
    } files[] = {{text.toUtf8(), text}, {utf16File(pairs, true), pairs}};
    for (const auto& file : files) {
        for (const bool shared : {false, true}) {
            ombrel::TailSnapshot snapshot;
            snapshot.bytes = QByteArray(file.bytes.constData(), file.bytes.size());
            snapshot.fileStart = file.bytes.first(4);
            const QByteArray other = shared ? snapshot.bytes : QByteArray();
            EXPECT_TRUE(TailTextDecoder::displayText(snapshot) == file.text);
            EXPECT_TRUE(snapshot.bytes.isEmpty());
            if (shared) {
                EXPECT_TRUE(other == file.bytes); // another holder's bytes are left alone
            }
        }
    }
}
