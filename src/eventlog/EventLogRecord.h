#pragma once

#include "eventlog/EventRecord.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace ombrel {

/// The fields of one Windows event-log record (an EVENTLOGRECORD as ReadEventLogW returns it,
/// little-endian, UTF-16 texts) that its text block needs.
struct EventLogRecordFields {
    std::uint32_t length = 0;       ///< bytes of the record: where the next one begins
    std::uint32_t recordNumber = 0; ///< the record's number in its log
    std::uint32_t timeWritten = 0;  ///< seconds since 1970-01-01 UTC
    std::uint32_t eventId = 0;      ///< as written, with its severity, customer and facility bits
    std::uint16_t eventType = 0;    ///< EVENTLOG_ERROR_TYPE and the others
    QString source;                 ///< the event source's name
    QString computer;               ///< the computer that wrote it
    QStringList strings;            ///< the insertion strings, in order
};

/// Reads the record at the start of bytes, every offset checked against its length; nothing
/// when the record is cut short, not marked as a record or points outside itself. Insertion
/// strings that run past the end of the record are left out.
std::optional<EventLogRecordFields> readEventLogRecord(QByteArrayView bytes);

/// The records of a read buffer, in their order, up to the first that cannot be read.
std::vector<EventLogRecordFields> readEventLogRecords(QByteArrayView buffer);

/// The kind of an EventType value: 0 Success, 1 Error, 2 Warning, 4 Information, 8 Audit
/// Success, 16 Audit Failure, any other Unknown.
EventType eventTypeOf(std::uint16_t value);

/// The lines of a text as FormatMessageW gives it: split at CR LF, LF or CR, without the
/// empty lines and blanks it ends with.
QStringList messageLines(QStringView text);

/// The record as its text block shows it: its number, its event ID without the upper 16 bits,
/// and the lines of message, or of the insertion strings when there is no message.
EventRecord eventRecordOf(const EventLogRecordFields& fields, const QString& message);

} // namespace ombrel
