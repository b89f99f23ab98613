#pragma once

#include "tail/TailSnapshot.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>

namespace ombrel {

/// Turns a window of a file's bytes into the text the display shows.
class TailTextDecoder {
public:
    /// Shown in place of each 0 byte (or 0 code unit), so the text after it stays visible.
    static constexpr char16_t nullPlaceholder = u'\u2400';

    /// The display text of a snapshot; see decode.
    static QString displayText(const TailSnapshot& snapshot);
    /// Decodes bytes that start at offset in a file whose first bytes are fileStart: UTF-16
    /// (window aligned to whole code units) when the file starts with a UTF-16 byte-order mark,
    /// else UTF-8. Invalid bytes become U+FFFD; a character cut by either edge of the window is
    /// left out; 0 becomes nullPlaceholder; every CR CR LF becomes LF CR.
    static QString decode(QByteArrayView bytes, std::int64_t offset, QByteArrayView fileStart);
    /// True when decode would give one character per byte, each the byte itself: no byte is 0
    /// or above 0x7F, and the file has no UTF-16 byte-order mark. Such bytes are shown as they
    /// are once asciiLineEnds has run over them.
    static bool isPlainAscii(QByteArrayView bytes, QByteArrayView fileStart);
    /// Makes every CR CR LF of plain ASCII bytes LF CR, in place, as decode does.
    static void asciiLineEnds(QByteArray& bytes);
};

} // namespace ombrel
