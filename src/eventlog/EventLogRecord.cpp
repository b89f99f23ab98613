#include "eventlog/EventLogRecord.h"

#include <QtEndian>

namespace ombrel {

namespace {

// The fixed part of an EVENTLOGRECORD: the offsets of its fields and its size.
constexpr qsizetype lengthAt = 0;
constexpr qsizetype signatureAt = 4;
constexpr qsizetype recordNumberAt = 8;
constexpr qsizetype timeWrittenAt = 16;
constexpr qsizetype eventIdAt = 20;
constexpr qsizetype eventTypeAt = 24;
constexpr qsizetype numStringsAt = 26;
constexpr qsizetype stringOffsetAt = 36;
constexpr qsizetype fixedSize = 56;
constexpr std::uint32_t signature = 0x654c664c; // "LfLe"

std::uint32_t dword(QByteArrayView bytes, qsizetype at) {
    return qFromLittleEndian<std::uint32_t>(bytes.data() + at);
}

std::uint16_t word(QByteArrayView bytes, qsizetype at) {
    return qFromLittleEndian<std::uint16_t>(bytes.data() + at);
}

// The NUL-terminated UTF-16 text at `at` within bytes; moves `at` past its NUL. Nothing when
// no NUL ends it within bytes.
std::optional<QString> text(QByteArrayView bytes, qsizetype& at) {
    for (qsizetype end = at; end + 1 < bytes.size(); end += 2) {
        if (word(bytes, end) == 0) {
            QString result(static_cast<qsizetype>((end - at) / 2), Qt::Uninitialized);
            for (qsizetype i = 0; i < result.size(); ++i) {
                result[i] = QChar(word(bytes, at + 2 * i));
            }
            at = end + 2;
            return result;
        }
    }
    return std::nullopt;
}

// The lines of text, split at CR LF, LF or CR.
QStringList splitLines(QStringView text) {
    QString lines = text.toString();
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(u'\r', u'\n');
    return lines.split(u'\n');
}

} // namespace

std::optional<EventLogRecordFields> readEventLogRecord(QByteArrayView bytes) {
    if (bytes.size() < fixedSize) {
        return std::nullopt;
    }
    EventLogRecordFields fields;
    fields.length = dword(bytes, lengthAt);
    if (fields.length < fixedSize || fields.length > static_cast<std::uint64_t>(bytes.size()) ||
        dword(bytes, signatureAt) != signature) {
        return std::nullopt;
    }
    const QByteArrayView record = bytes.first(fields.length);
    fields.recordNumber = dword(record, recordNumberAt);
    fields.timeWritten = dword(record, timeWrittenAt);
    fields.eventId = dword(record, eventIdAt);
    fields.eventType = word(record, eventTypeAt);
    qsizetype at = fixedSize;
    auto source = text(record, at);
    auto computer = source ? text(record, at) : std::nullopt;
    if (!computer) {
        return std::nullopt;
    }
    fields.source = std::move(*source);
    fields.computer = std::move(*computer);
    at = dword(record, stringOffsetAt);
    for (int i = word(record, numStringsAt); i > 0; --i) {
        auto string = text(record, at);
        if (!string) {
            break;
        }
        fields.strings.append(std::move(*string));
    }
    return fields;
}

std::vector<EventLogRecordFields> readEventLogRecords(QByteArrayView buffer) {
    std::vector<EventLogRecordFields> records;
    while (auto record = readEventLogRecord(buffer)) {
        buffer = buffer.sliced(record->length);
        records.push_back(std::move(*record));
    }
    return records;
}

EventType eventTypeOf(std::uint16_t value) {
    switch (value) {
    case 0:
        return EventType::Success;
    case 1:
        return EventType::Error;
    case 2:
        return EventType::Warning;
    case 4:
        return EventType::Information;
    case 8:
        return EventType::AuditSuccess;
    case 16:
        return EventType::AuditFailure;
    default:
        return EventType::Unknown;
    }
}

QStringList messageLines(QStringView text) {
    QStringList result = splitLines(text);
    while (!result.isEmpty() && result.back().trimmed().isEmpty()) {
        result.removeLast();
    }
    if (!result.isEmpty()) {
        // Message files end their texts with blanks or a line break.
        qsizetype end = result.back().size();
        while (end > 0 && result.back().at(end - 1).isSpace()) {
            --end;
        }
        result.back().truncate(end);
    }
    return result;
}

EventRecord eventRecordOf(const EventLogRecordFields& fields, const QString& message) {
    EventRecord record;
    record.number = fields.recordNumber;
    record.eventId = fields.eventId & 0xFFFFu;
    record.timeWritten = fields.timeWritten;
    record.type = eventTypeOf(fields.eventType);
    record.source = fields.source;
    record.computer = fields.computer;
    if (!message.isEmpty()) {
        record.strings = messageLines(message);
    } else {
        for (const QString& string : fields.strings) {
            record.strings += splitLines(string); // each one line at least, as it was given
        }
    }
    return record;
}

} // namespace ombrel
