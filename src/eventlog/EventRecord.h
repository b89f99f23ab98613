#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace ombrel {

/// The kind of an event, shown by its type name.
enum class EventType { Unknown, Success, Error, Warning, Information, AuditSuccess, AuditFailure };

/// One record of an event log, with what its text block shows.
struct EventRecord {
    std::uint64_t number = 0;            ///< the record's running number in its log
    std::int64_t eventId = 0;            ///< shown as "Event ID"
    std::int64_t timeWritten = 0;        ///< seconds since 1970-01-01 UTC, shown in local time
    EventType type = EventType::Unknown; ///< shown by eventTypeName
    QString source;                      ///< what wrote the record
    QStringList strings; ///< one line each; with none the block has no closing empty line
    QString computer;    ///< the machine that wrote it, shown when records of several machines show
    QString machineId;   ///< tells machines apart; empty: known by computer alone
};

} // namespace ombrel
