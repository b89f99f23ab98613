#include "eventlog/EventBlock.h"

#include "tail/TailStatusLine.h"

#include <algorithm>

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

void appendEventBlock(QString& text, const EventRecord& record, bool withComputer) {
    text += QString::asprintf(
        "%02llu\tEvent ID: %lld\tTime: ", static_cast<unsigned long long>(record.number),
        static_cast<long long>(record.eventId));
    text += ctimeText(record.timeWritten); // ends with the line's newline
    text += QStringLiteral("EventType: ");
    text += eventTypeName(record.type);
    text += QStringLiteral("\tSource: ");
    text += record.source;
    text += u' ';
    if (withComputer) {
        text += QStringLiteral("\tComputer: ");
        text += record.computer;
    }
    text += u'\n';
    if (record.strings.isEmpty()) {
        return;
    }
    for (const QString& line : record.strings) {
        text += line;
        text += u'\n';
    }
    text += u'\n';
}

bool fromSeveralMachines(const std::vector<EventRecord>& records) {
    const auto machineOf = [](const EventRecord& record) -> const QString& {
        return record.machineId.isEmpty() ? record.computer : record.machineId;
    };
    return std::any_of(records.begin(), records.end(), [&](const EventRecord& record) {
        return machineOf(record) != machineOf(records.front());
    });
}

QString eventBlocks(const std::vector<EventRecord>& records) {
    const bool withComputer = fromSeveralMachines(records);
    QString text;
    for (const EventRecord& record : records) {
        appendEventBlock(text, record, withComputer);
    }
    return text;
}

} // namespace ombrel
