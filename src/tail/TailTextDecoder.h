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

    /// The display text of a snapshot, as decode gives it. Takes its bytes, leaving them empty,
    /// and gives their memory back as they are decoded.
    static QString displayText(TailSnapshot& snapshot);
    /// Decodes bytes that start at offset in a file whose first bytes are fileStart: UTF-16
    /// (window aligned to whole code units) when the file starts with a UTF-16 byte-order mark,
    /// else UTF-8. Invalid bytes become U+FFFD; a character cut by either edge of the window is
    /// left out; 0 becomes nullPlaceholder; every CR CR LF becomes LF CR.
    static QString decode(QByteArrayView bytes, std::int64_t offset, QByteArrayView fileStart);
    /// Rewrites UTF-8 bytes (a file without a UTF-16 byte-order mark) in place as the text
    /// decode would give, one byte per UTF-16 code unit: a unit below U+0100 other than 0 as
    /// its own byte, any other unit as a 0 byte with the unit appended to wideUnits. The same
    /// cuts at the window's edges and the same CR CR LF rule apply. False, with bytes
    /// untouched, for a UTF-16 file, for a text with many units to list apart, and for one
    /// holding U+2029, U+FDD0 or U+FDD1 (line ends that a byte cannot stand for).
    static bool toNarrow(QByteArray& bytes, QString& wideUnits, std::int64_t offset,
                         QByteArrayView fileStart);
};

} // namespace ombrel
