#include "tail/TailTextDecoder.h"

#include "tail/HugePages.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace ombrel {

namespace {
constexpr char16_t replacementCharacter = u'\uFFFD';

std::optional<QStringConverter::Encoding> utf16ByteOrder(QByteArrayView fileStart) {
    if (fileStart.startsWith("\xFF\xFE")) {
        return QStringConverter::Utf16LE;
    }
    if (fileStart.startsWith("\xFE\xFF")) {
        return QStringConverter::Utf16BE;
    }
    return std::nullopt;
}

// Decodes into one buffer asked for huge pages: a large text is filled with few page faults.
QString decodeAll(QStringDecoder& decoder, QByteArrayView bytes) {
    const qsizetype room = decoder.requiredSpace(bytes.size());
    QString text(room, Qt::Uninitialized);
    preferHugePages(text.data(), static_cast<std::int64_t>(room) * 2);
    const QChar* end = decoder.appendToBuffer(text.data(), bytes);
    text.truncate(end - text.constData());
    return text;
}

bool isUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0u) == 0x80u;
}

QString decodeUtf8(QByteArrayView bytes, std::int64_t offset) {
    if (offset > 0) {
        // Continuation bytes at the front belong to a character that began before the window.
        qsizetype skip = 0;
        while (skip < 3 && skip < bytes.size() && isUtf8Continuation(bytes[skip])) {
            ++skip;
        }
        bytes = bytes.sliced(skip);
    }
    // A stateful decoder holds back a sequence cut by the end of the window.
    QStringDecoder decoder(QStringConverter::Utf8);
    return decodeAll(decoder, bytes);
}

// The decoder passes unpaired surrogates through; cut ones at the edges go, others are invalid.
void repairSurrogates(QString& text, bool cutAtStart) {
    if (cutAtStart && !text.isEmpty() && text.front().isLowSurrogate()) {
        text.remove(0, 1);
    }
    if (!text.isEmpty() && text.back().isHighSurrogate()) {
        text.chop(1);
    }
    if (text.isValidUtf16()) {
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (unit.isSurrogate()) {
            text[i] = QChar(replacementCharacter);
        }
    }
}

// A scan for CR alone is vectorised and most texts hold no CR CR LF: this spares a ten times
// slower search of the whole text on every update.
bool containsCrCrLf(const QString& text) {
    for (qsizetype at = text.indexOf(u'\r'); at >= 0 && at + 2 < text.size();
         at = text.indexOf(u'\r', at + 1)) {
        if (text[at + 1] == u'\r' && text[at + 2] == u'\n') {
            return true;
        }
    }
    return false;
}

QString decodeUtf16(QByteArrayView bytes, std::int64_t offset, QStringConverter::Encoding order) {
    // Code units start at even file offsets; a window may start or end inside one.
    const qsizetype skip = offset % 2 == 0 ? 0 : 1;
    bytes = bytes.sliced(std::min(skip, bytes.size()));
    bytes.chop(bytes.size() % 2);
    QStringDecoder decoder(order);
    QString text = decodeAll(decoder, bytes);
    repairSurrogates(text, offset + skip > 0);
    return text;
}

// Every byte of the block is ASCII and none is 0. A block of a fixed size lets the compiler test
// many bytes per instruction.
constexpr std::size_t asciiBlock = 4096;
bool isPlainAsciiBlock(const unsigned char* chars) {
    unsigned char any = 0;
    unsigned char least = 0xFF;
    for (std::size_t i = 0; i < asciiBlock; ++i) {
        any |= chars[i];
        least = std::min(least, chars[i]);
    }
    return any < 0x80 && least != 0;
}

// The position of the first byte from `from` on with its top bit set, or end.
std::size_t nextHighByte(const char* chars, std::size_t from, std::size_t end) {
    constexpr std::uint64_t tops = 0x8080808080808080U;
    for (; from + 8 <= end; from += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, chars + from, 8);
        if ((word & tops) != 0) {
            break;
        }
    }
    while (from < end && static_cast<unsigned char>(chars[from]) < 0x80) {
        ++from;
    }
    return from;
}

bool isLeadBelow256(unsigned char byte) {
    return byte == 0xC2 || byte == 0xC3;
}

// Every CR CR LF of single-byte text becomes LF CR, in place.
void byteLineEnds(QByteArray& bytes) {
    const auto size = static_cast<std::size_t>(bytes.size());
    const char* begin = bytes.constData();
    const auto isCrCrLf = [&begin, size](std::size_t at) {
        return at + 2 < size && begin[at] == '\r' && begin[at + 1] == '\r' && begin[at + 2] == '\n';
    };
    // A scan for CR alone is fast, and most texts hold no CR CR LF at all.
    std::size_t first = size;
    for (const void* found = std::memchr(begin, '\r', size); found != nullptr;) {
        const auto at = static_cast<std::size_t>(static_cast<const char*>(found) - begin);
        if (isCrCrLf(at)) {
            first = at;
            break;
        }
        found = std::memchr(begin + at + 1, '\r', size - at - 1);
    }
    if (first == size) {
        return;
    }
    char* chars = bytes.data(); // detaches a shared array
    begin = chars;
    std::size_t written = first;
    for (std::size_t read = first; read < size;) {
        if (isCrCrLf(read)) {
            chars[written++] = '\n';
            chars[written++] = '\r';
            read += 3;
        } else {
            chars[written++] = chars[read++];
        }
    }
    bytes.truncate(static_cast<qsizetype>(written));
}

} // namespace

bool TailTextDecoder::toLatin1(QByteArray& bytes, std::int64_t offset, QByteArrayView fileStart) {
    if (utf16ByteOrder(fileStart)) {
        return false;
    }
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<std::size_t>(bytes.size());
    // Continuation bytes at the front belong to a character that began before the window.
    std::size_t skip = 0;
    while (offset > 0 && skip < 3 && skip < size && (in[skip] & 0xC0U) == 0x80U) {
        ++skip;
    }
    std::size_t end = size;
    bool ascii = true;
    for (std::size_t i = skip; i < size;) {
        if (i % asciiBlock == 0 && i + asciiBlock <= size && isPlainAsciiBlock(in + i)) {
            i += asciiBlock;
        } else if (in[i] != 0 && in[i] < 0x80) {
            ++i;
        } else if (isLeadBelow256(in[i]) && i + 1 < size && (in[i + 1] & 0xC0U) == 0x80U) {
            ascii = false;
            i += 2;
        } else if (isLeadBelow256(in[i]) && i + 1 == size) {
            end = i; // cut by the end of the window: left out, as the decoder holds it back
            break;
        } else {
            return false;
        }
    }
    if (!ascii || skip > 0 || end < size) {
        char* chars = bytes.data(); // detaches a shared array
        std::size_t written = 0;
        for (std::size_t i = skip; i < end;) {
            // Runs of ASCII move as they are; each two-byte character becomes one byte.
            const std::size_t run = nextHighByte(chars, i, end);
            std::memmove(chars + written, chars + i, run - i);
            written += run - i;
            if (run == end) {
                break;
            }
            const auto lead = static_cast<unsigned char>(chars[run]);
            const auto next = static_cast<unsigned char>(chars[run + 1]);
            chars[written++] = static_cast<char>((lead & 0x03U) << 6 | (next & 0x3FU));
            i = run + 2;
        }
        bytes.truncate(static_cast<qsizetype>(written));
    }
    byteLineEnds(bytes);
    return true;
}

QString TailTextDecoder::displayText(const TailSnapshot& snapshot) {
    return decode(snapshot.bytes, snapshot.offset, snapshot.fileStart);
}

QString TailTextDecoder::decode(QByteArrayView bytes, std::int64_t offset,
                                QByteArrayView fileStart) {
    const auto order = utf16ByteOrder(fileStart);
    QString text = order ? decodeUtf16(bytes, offset, *order) : decodeUtf8(bytes, offset);
    text.replace(QChar(u'\0'), QChar(nullPlaceholder));
    if (containsCrCrLf(text)) {
        text.replace(QStringLiteral("\r\r\n"), QStringLiteral("\n\r"));
    }
    return text;
}

} // namespace ombrel
