#include "eventlog/EventBlock.h"

#include "tail/TailStatusLine.h"

namespace ombrel {

QString eventTypeName(EventType type) {
    switch (type) {
    case EventType::Unknown:
        break;
    case EventType::Success:
        return QStringLiteral("Success");
    case EventType::Error:
        return QStringLiteral("Error");
    case EventType::Warning:
        return QStringLiteral("Warning");
    case EventType::Information:
        return QStringLiteral("Information");
    case EventType::AuditSuccess:
        return QStringLiteral("Audit Success");
    case EventType::AuditFailure:
        return QStringLiteral("Audit Failure");
    }
    return {};
}

void appendEventBlock(QString& text, const EventRecord& record) {
    text += QString::asprintf(
        "%02llu\tEvent ID: %lld\tTime: ", static_cast<unsigned long long>(record.number),
        static_cast<long long>(record.eventId));
    text += ctimeText(record.timeWritten); // ends with the line's newline
    text += QStringLiteral("EventType: ");
    text += eventTypeName(record.type);
    text += QStringLiteral("\tSource: ");
    text += record.source;
    text += QStringLiteral(" \n");
    if (record.strings.isEmpty()) {
        return;
    }
    for (const QString& line : record.strings) {
        text += line;
        text += u'\n';
    }
    text += u'\n';
}

QString eventBlocks(const std::vector<EventRecord>& records) {
    QString text;
    for (const EventRecord& record : records) {
        appendEventBlock(text, record);
    }
    return text;
}

} // namespace ombrel
