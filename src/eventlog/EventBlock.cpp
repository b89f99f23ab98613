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

namespace {

/// Appends a block to text, its time line from timeText (ctime form, ending in a newline).
void appendBlock(QString& text, const EventRecord& record, bool withComputer,
                 const QString& timeText) {
    // "%02llu": at least two digits.
    if (record.number < 10) {
        text += u'0';
    }
    text += QString::number(record.number);
    text += QStringLiteral("\tEvent ID: ");
    text += QString::number(record.eventId);
    text += QStringLiteral("\tTime: ");
    text += timeText;
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

} // namespace

void appendEventBlock(QString& text, const EventRecord& record, bool withComputer) {
    appendBlock(text, record, withComputer, ctimeText(record.timeWritten));
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
    // Entries come in bursts: many share their second, whose local time is worked out once.
    std::int64_t timeShown = 0;
    QString timeText;
    for (const EventRecord& record : records) {
        if (timeText.isEmpty() || record.timeWritten != timeShown) {
            timeShown = record.timeWritten;
            timeText = ctimeText(timeShown);
        }
        appendBlock(text, record, withComputer, timeText);
    }
    return text;
}

} // namespace ombrel
