#pragma once

#include "eventlog/EventRecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <optional>

namespace ombrel {

/// The fields of one journal entry that its text block shows, as stored: any bytes, each
/// field absent or present (possibly empty).
struct JournalFields {
    std::uint64_t sequenceNumber = 0;           ///< the entry's place in its journal
    std::uint64_t realtimeMicroseconds = 0;     ///< when it was written, since 1970 UTC
    std::optional<QByteArray> message;          ///< MESSAGE
    std::optional<QByteArray> priority;         ///< PRIORITY, "0" (emergency) to "7" (debug)
    std::optional<QByteArray> pid;              ///< _PID
    std::optional<QByteArray> transport;        ///< _TRANSPORT ("audit", "journal", ...)
    std::optional<QByteArray> syslogIdentifier; ///< SYSLOG_IDENTIFIER
    std::optional<QByteArray> command;          ///< _COMM
    std::optional<QByteArray> unit;             ///< _SYSTEMD_UNIT
    std::optional<QByteArray> hostname;         ///< _HOSTNAME
    std::optional<QByteArray> machineId;        ///< _MACHINE_ID

    /// Takes in one "NAME=value" field of an entry; other fields, and repeats, are ignored.
    void take(QByteArrayView field);
};

/// The record an entry shows as: the sequence number, _PID (0 when absent or not a number),
/// the time, a type from PRIORITY (0-3 Error, 4 Warning, else Information) or, for the audit
/// transport, Audit Success / Audit Failure ("res=failed" in the message), the first non-empty
/// of SYSLOG_IDENTIFIER, _COMM and _SYSTEMD_UNIT, one string per line of MESSAGE, and the
/// computer: the first non-empty of _HOSTNAME and _MACHINE_ID, else "unknown".
EventRecord eventRecordFromJournal(const JournalFields& fields);

/// The sequence number in a journal cursor ("s=...;i=1f;..."; hexadecimal), 0 without one.
std::uint64_t cursorSequenceNumber(QByteArrayView cursor);

} // namespace ombrel
