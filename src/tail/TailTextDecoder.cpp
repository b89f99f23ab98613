#include "tail/TailTextDecoder.h"

#include "tail/MemoryPages.h"

#include <QStringDecoder>
#include <QVarLengthArray>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

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

// What becomes of the bytes once decoded.
enum class ReadBytes {
    kept,
    givenBack, // the caller's own array, handed over to be used up
};

// Decodes into one buffer asked for huge pages: a large text is filled with few page faults.
// A piece at a time, so that bytes given back go as they are decoded: the read and its text
// are then never both held whole.
QString decodeAll(QStringDecoder& decoder, QByteArrayView bytes, ReadBytes read) {
    const qsizetype room = decoder.requiredSpace(bytes.size());
    QString text(room, Qt::Uninitialized);
    preferHugePages(text.data(), static_cast<std::int64_t>(room) * 2);
    constexpr qsizetype piece = qsizetype{8} << 20;
    QChar* end = text.data();
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        const QByteArrayView part = bytes.sliced(at, std::min(piece, bytes.size() - at));
        end = decoder.appendToBuffer(end, part);
        if (read == ReadBytes::givenBack) {
            releasePages(const_cast<char*>(part.data()), part.size());
        }
    }
    text.truncate(end - text.constData());
    return text;
}

// Continuation bytes at the front of a window that starts inside the file belong to a
// character that began before it: how many to leave out.
qsizetype cutUtf8Start(QByteArrayView bytes, std::int64_t offset) {
    qsizetype skip = 0;
    while (offset > 0 && skip < 3 && skip < bytes.size() &&
           (static_cast<unsigned char>(bytes[skip]) & 0xC0U) == 0x80U) {
        ++skip;
    }
    return skip;
}

QString decodeUtf8(QByteArrayView bytes, std::int64_t offset, ReadBytes read) {
    bytes = bytes.sliced(cutUtf8Start(bytes, offset));
    // A stateful decoder holds back a sequence cut by the end of the window.
    QStringDecoder decoder(QStringConverter::Utf8);
    return decodeAll(decoder, bytes, read);
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

QString decodeUtf16(QByteArrayView bytes, std::int64_t offset, QStringConverter::Encoding order,
                    ReadBytes read) {
    // Code units start at even file offsets; a window may start or end inside one.
    const qsizetype skip = offset % 2 == 0 ? 0 : 1;
    bytes = bytes.sliced(std::min(skip, bytes.size()));
    bytes.chop(bytes.size() % 2);
    QStringDecoder decoder(order);
    QString text = decodeAll(decoder, bytes, read);
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

// The position of the first byte from `from` on that is 0 or has its top bit set, or end.
std::size_t nextSpecialByte(const char* chars, std::size_t from, std::size_t end) {
    constexpr std::uint64_t ones = 0x0101010101010101U;
    constexpr std::uint64_t tops = 0x8080808080808080U;
    for (; from + 8 <= end; from += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, chars + from, 8);
        // A 0 byte borrows into its top bit; a byte of 1 to 0x7F never does.
        if ((((word - ones) | word) & tops) != 0) {
            break;
        }
    }
    while (from < end && chars[from] != 0 && static_cast<unsigned char>(chars[from]) < 0x80) {
        ++from;
    }
    return from;
}

// What a first pass over UTF-8 bytes tells about holding their text narrow.
struct NarrowScan {
    bool plain = true;         // every byte is ASCII other than 0
    bool lineEnds = false;     // a character other than LF and CR that ends a display line
    std::size_t wideUnits = 0; // units to list apart, counted from first bytes: an estimate
};

// Stops once the text cannot be held narrow: a line end found, or more than most units to list
// apart.
NarrowScan scanUtf8(const unsigned char* in, std::size_t from, std::size_t size, std::size_t most) {
    NarrowScan scan;
    const auto follows = [in, size](std::size_t at, unsigned char second, unsigned char third) {
        return at + 2 < size && in[at + 1] == second && in[at + 2] == third;
    };
    for (std::size_t i = from; i < size;) {
        if (i % asciiBlock == 0 && i + asciiBlock <= size && isPlainAsciiBlock(in + i)) {
            i += asciiBlock;
            continue;
        }
        const unsigned char c = in[i++];
        if (c != 0 && c < 0x80) {
            continue;
        }
        scan.plain = false;
        // U+2029, U+FDD0 and U+FDD1.
        scan.lineEnds = scan.lineEnds || (c == 0xE2 && follows(i - 1, 0x80, 0xA9)) ||
                        (c == 0xEF && (follows(i - 1, 0xB7, 0x90) || follows(i - 1, 0xB7, 0x91)));
        if (c == 0 || c == 0xC0 || c == 0xC1 || c >= 0xC4) {
            scan.wideUnits += c >= 0xF0 && c <= 0xF4 ? 2 : 1;
        }
        if (scan.lineEnds || scan.wideUnits > most) {
            break; // decided: not narrow
        }
    }
    return scan;
}

// The length of the well-formed UTF-8 sequence of two to four bytes at in, with its code
// point; 0 for one that is ill-formed or cut by the end, left to the decoder.
int wellFormedSequence(const unsigned char* in, std::size_t available, char32_t& code) {
    const unsigned char lead = in[0];
    const auto continues = [in, available](std::size_t at, unsigned char low = 0x80,
                                           unsigned char high = 0xBF) {
        return at < available && in[at] >= low && in[at] <= high;
    };
    const auto tail = [in](std::size_t at) { return char32_t{in[at] & 0x3FU}; };
    if (lead >= 0xC2 && lead <= 0xDF && continues(1)) {
        code = char32_t{lead & 0x1FU} << 6 | tail(1);
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF &&
        continues(1, lead == 0xE0 ? 0xA0 : 0x80, lead == 0xED ? 0x9F : 0xBF) && continues(2)) {
        code = char32_t{lead & 0x0FU} << 12 | tail(1) << 6 | tail(2);
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4 &&
        continues(1, lead == 0xF0 ? 0x90 : 0x80, lead == 0xF4 ? 0x8F : 0xBF) && continues(2) &&
        continues(3)) {
        code = char32_t{lead & 0x07U} << 18 | tail(1) << 12 | tail(2) << 6 | tail(3);
        return 4;
    }
    return 0;
}

// Decodes the non-ASCII bytes [from, to) as the whole window's decoder would and calls put
// with each unit. The ASCII byte at `to`, where that decoder's state always ends, is decoded
// with them and its unit dropped, so that a sequence it cuts short ends as it would there; at
// the window's end a cut sequence is held back, as there. Only the window's first byte may
// start a byte-order mark that is dropped.
template <class Put>
void decodeRun(const char* chars, std::size_t from, std::size_t to, std::size_t size,
               bool windowStart, Put put) {
    QStringDecoder decoder(QStringConverter::Utf8, windowStart
                                                       ? QStringConverter::Flag::Default
                                                       : QStringConverter::Flag::ConvertInitialBom);
    constexpr std::size_t piece = 1024;
    QVarLengthArray<QChar, piece + 8> units(decoder.requiredSpace(piece));
    const std::size_t last = to < size ? to + 1 : to;
    for (std::size_t at = from; at < last; at += piece) {
        const std::size_t count = std::min(piece, last - at);
        const QChar* end = decoder.appendToBuffer(
            units.data(), QByteArrayView(chars + at, static_cast<qsizetype>(count)));
        if (at + count == last && to < size) {
            --end;
        }
        // Never more units than bytes read so far: writing them in place overtakes no byte
        // still to be read.
        for (const QChar* unit = units.data(); unit < end; ++unit) {
            put(unit->unicode());
        }
    }
}

// Rewrites the UTF-8 bytes from skip on in place, one byte per UTF-16 unit (see toNarrow).
void rewriteNarrow(QByteArray& bytes, std::size_t skip, QString& wideUnits) {
    const auto size = static_cast<std::size_t>(bytes.size());
    char* chars = bytes.data(); // detaches a shared array
    const auto* in = reinterpret_cast<const unsigned char*>(chars);
    std::size_t written = 0;
    const auto put = [&](char16_t unit) {
        const bool ownByte = unit != 0 && unit < 0x100;
        chars[written++] = ownByte ? static_cast<char>(unit) : '\0';
        if (!ownByte) {
            wideUnits.append(QChar(unit == 0 ? TailTextDecoder::nullPlaceholder : unit));
        }
    };
    for (std::size_t i = skip; i < size;) {
        // Runs of ASCII move as they are.
        const std::size_t special = nextSpecialByte(chars, i, size);
        std::memmove(chars + written, chars + i, special - i);
        written += special - i;
        i = special;
        if (i == size) {
            break;
        }
        if (in[i] == 0) {
            put(0);
            ++i;
            continue;
        }
        char32_t code = 0;
        // The window's first character goes to the decoder, which drops a byte-order mark.
        const int length = i == skip ? 0 : wellFormedSequence(in + i, size - i, code);
        if (length > 0) {
            if (QChar::requiresSurrogates(code)) {
                put(QChar::highSurrogate(code));
                put(QChar::lowSurrogate(code));
            } else {
                put(static_cast<char16_t>(code));
            }
            i += static_cast<std::size_t>(length);
        } else {
            std::size_t runEnd = i;
            while (runEnd < size && in[runEnd] >= 0x80) {
                ++runEnd;
            }
            decodeRun(chars, i, runEnd, size, i == skip, put);
            i = runEnd;
        }
    }
    bytes.truncate(static_cast<qsizetype>(written));
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

QString decodeText(QByteArrayView bytes, std::int64_t offset, QByteArrayView fileStart,
                   ReadBytes read) {
    const auto order = utf16ByteOrder(fileStart);
    QString text =
        order ? decodeUtf16(bytes, offset, *order, read) : decodeUtf8(bytes, offset, read);
    text.replace(QChar(u'\0'), QChar(TailTextDecoder::nullPlaceholder));
    if (containsCrCrLf(text)) {
        text.replace(QStringLiteral("\r\r\n"), QStringLiteral("\n\r"));
    }
    return text;
}

} // namespace

bool TailTextDecoder::toNarrow(QByteArray& bytes, QString& wideUnits, std::int64_t offset,
                               QByteArrayView fileStart) {
    if (utf16ByteOrder(fileStart)) {
        return false;
    }
    const auto size = static_cast<std::size_t>(bytes.size());
    const auto skip = static_cast<std::size_t>(cutUtf8Start(bytes, offset));
    const auto* bytesIn = reinterpret_cast<const unsigned char*>(bytes.constData());
    // Past one unit listed apart in eight bytes, UTF-16 soon costs less.
    const std::size_t most = size / 8;
    const NarrowScan scan = scanUtf8(bytesIn, skip, size, most);
    if (scan.lineEnds || scan.wideUnits > most) {
        return false;
    }
    if (!scan.plain || skip > 0) {
        wideUnits.reserve(static_cast<qsizetype>(scan.wideUnits));
        rewriteNarrow(bytes, skip, wideUnits);
    }
    byteLineEnds(bytes);
    return true;
}

QString TailTextDecoder::displayText(TailSnapshot& snapshot) {
    QByteArray bytes = std::exchange(snapshot.bytes, QByteArray());
    // Pages of an array that others share must stay.
    const ReadBytes read = bytes.isDetached() ? ReadBytes::givenBack : ReadBytes::kept;
    return decodeText(bytes, snapshot.offset, snapshot.fileStart, read);
}

QString TailTextDecoder::decode(QByteArrayView bytes, std::int64_t offset,
                                QByteArrayView fileStart) {
    return decodeText(bytes, offset, fileStart, ReadBytes::kept);
}

} // namespace ombrel
