// Maps arbitrary journal fields to a record and formats its text block, with and without its
// computer: the first 16 bytes are the sequence number and the realtime stamp (little-endian),
// the rest are "NAME=value" fields separated by the byte 0x1E, with any bytes in them.
#include "display/DisplayLines.h"
#include "eventlog/EventBlock.h"
#include "eventlog/JournalEntry.h"

#include <QtEndian>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArrayView input(data, static_cast<qsizetype>(size));
    ombrel::JournalFields fields;
    if (input.size() >= 16) {
        fields.sequenceNumber = qFromLittleEndian<quint64>(input.data());
        fields.realtimeMicroseconds = qFromLittleEndian<quint64>(input.data() + 8);
        input = input.sliced(16);
    }
    static_cast<void>(ombrel::cursorSequenceNumber(input));
    for (qsizetype start = 0; start <= input.size();) {
        qsizetype end = input.indexOf('\x1e', start);
        if (end < 0) {
            end = input.size();
        }
        fields.take(input.sliced(start, end - start));
        start = end + 1;
    }
    const ombrel::EventRecord record = ombrel::eventRecordFromJournal(fields);
    QString text;
    ombrel::appendEventBlock(text, record);
    // Named by its computer, the block only gains "\tComputer: NAME" at its second line's end.
    QString named;
    ombrel::appendEventBlock(named, record, true);
    const qsizetype secondEnd = text.indexOf(u'\n', text.indexOf(u'\n') + 1);
    if (record.computer.isEmpty() ||
        named !=
            QString(text).insert(secondEnd, QStringLiteral("\tComputer: ") + record.computer)) {
        std::abort();
    }
    // Three-line structure whatever the bytes: two lines, one per string, one closing line.
    const auto strings = record.strings.size();
    if (text.count(u'\n') != 2 + strings + (strings > 0 ? 1 : 0) || !text.endsWith(u'\n') ||
        !text.contains(QStringLiteral("\tEvent ID: ")) ||
        (fields.message.has_value() != (strings > 0))) {
        std::abort();
    }
    // The two header lines end at their LFs only, as the display and Unicode split lines:
    // no field (the computer's name neither) can forge a line of the block.
    const qsizetype headerEnd = named.indexOf(u'\n', named.indexOf(u'\n') + 1);
    const QStringView header = QStringView(named).first(headerEnd);
    if (std::any_of(header.begin(), header.end(), [](QChar c) {
            const char16_t unit = c.unicode();
            return (unit != u'\n' && ombrel::lineEnds::endsLine(unit)) || unit == u'\v' ||
                   unit == u'\f' || unit == 0x85 || unit == 0x2028;
        })) {
        std::abort();
    }
    return 0;
}
