#include "eventlog/JournalEntry.h"

#include "display/DisplayLines.h"
#include "tail/TailTextDecoder.h"

#include <algorithm>

namespace ombrel {

namespace {

/// Text from stored bytes: invalid UTF-8 becomes U+FFFD and 0 the placeholder the file
/// display uses, so nothing after it is lost.
QString decoded(const QByteArray& bytes) {
    QString text = QString::fromUtf8(bytes);
    text.replace(QChar(0), QChar(TailTextDecoder::nullPlaceholder));
    return text;
}

/// True for a character that ends a line: in the display (see lineEnds), or by Unicode wherever
/// the text is copied to.
bool breaksLine(QChar c) {
    const char16_t unit = c.unicode();
    return lineEnds::endsLine(unit) || unit == u'\v' || unit == u'\f' || unit == 0x85 ||
           unit == QChar::LineSeparator;
}

EventType typeOf(const JournalFields& fields) {
    if (fields.transport && *fields.transport == "audit") {
        const bool failed = fields.message && fields.message->contains("res=failed");
        return failed ? EventType::AuditFailure : EventType::AuditSuccess;
    }
    bool ok = false;
    const int priority = fields.priority ? fields.priority->toInt(&ok) : 0;
    if (!ok || priority < 0 || priority > 7) {
        return EventType::Information;
    }
    if (priority <= 3) {
        return EventType::Error;
    }
    return priority == 4 ? EventType::Warning : EventType::Information;
}

/// Text for the type line: a line end in it would end that line and let the next text pass
/// for a line of the block's own, so each becomes a blank.
QString oneLine(const QByteArray& bytes) {
    QString text = decoded(bytes);
    std::replace_if(text.begin(), text.end(), breaksLine, QChar(u' '));
    return text;
}

QString sourceOf(const JournalFields& fields) {
    for (const auto* candidate : {&fields.syslogIdentifier, &fields.command, &fields.unit}) {
        if (*candidate && !(*candidate)->isEmpty()) {
            return oneLine(**candidate);
        }
    }
    return {};
}

QString computerOf(const JournalFields& fields) {
    for (const auto* candidate : {&fields.hostname, &fields.machineId}) {
        if (*candidate && !(*candidate)->isEmpty()) {
            return oneLine(**candidate);
        }
    }
    return QStringLiteral("unknown");
}

} // namespace

void JournalFields::take(QByteArrayView field) {
    const qsizetype equals = field.indexOf('=');
    if (equals <= 0) {
        return;
    }
    const QByteArrayView name = field.first(equals);
    const QByteArrayView value = field.sliced(equals + 1);
    std::optional<QByteArray>* slot = nullptr;
    if (name == "MESSAGE") {
        slot = &message;
    } else if (name == "PRIORITY") {
        slot = &priority;
    } else if (name == "_PID") {
        slot = &pid;
    } else if (name == "_TRANSPORT") {
        slot = &transport;
    } else if (name == "SYSLOG_IDENTIFIER") {
        slot = &syslogIdentifier;
    } else if (name == "_COMM") {
        slot = &command;
    } else if (name == "_SYSTEMD_UNIT") {
        slot = &unit;
    } else if (name == "_HOSTNAME") {
        slot = &hostname;
    } else if (name == "_MACHINE_ID") {
        slot = &machineId;
    }
    if (slot && !*slot) {
        *slot = value.toByteArray();
    }
}

EventRecord eventRecordFromJournal(const JournalFields& fields) {
    EventRecord record;
    record.number = fields.sequenceNumber;
    bool ok = false;
    const qlonglong pid = fields.pid ? fields.pid->toLongLong(&ok) : 0;
    record.eventId = ok ? pid : 0;
    record.timeWritten = static_cast<std::int64_t>(fields.realtimeMicroseconds / 1000000U);
    record.type = typeOf(fields);
    record.source = sourceOf(fields);
    record.computer = computerOf(fields);
    if (fields.machineId) {
        record.machineId = decoded(*fields.machineId);
    }
    if (fields.message) {
        record.strings = decoded(*fields.message).split(u'\n');
        // A message that ends with a line break has no further line.
        if (record.strings.size() > 1 && record.strings.back().isEmpty()) {
            record.strings.pop_back();
        }
    }
    return record;
}

std::uint64_t cursorSequenceNumber(QByteArrayView cursor) {
    for (qsizetype start = 0; start < cursor.size();) {
        qsizetype end = cursor.indexOf(';', start);
        if (end < 0) {
            end = cursor.size();
        }
        const QByteArrayView part = cursor.sliced(start, end - start);
        if (part.startsWith("i=")) {
            bool ok = false;
            const qulonglong number = part.sliced(2).toULongLong(&ok, 16);
            return ok ? number : 0;
        }
        start = end + 1;
    }
    return 0;
}

} // namespace ombrel
