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
    /// Rewrites bytes in place as the text decode would give, one Latin-1 byte per character,
    /// when each of its characters is below U+0100 and none is 0: ASCII, and UTF-8 whose other
    /// characters are two-byte ones (a file without a UTF-16 byte-order mark). The same cuts
    /// at the window's edges and the same CR CR LF rule apply. False, with bytes untouched,
    /// for any other text.
    static bool toLatin1(QByteArray& bytes, std::int64_t offset, QByteArrayView fileStart);
};

} // namespace ombrel
