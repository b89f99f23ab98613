#pragma once

#include "eventlog/EventRecord.h"

#include <QString>
#include <vector>

namespace ombrel {

/// The shown name of an event type: "Success", "Error", ..., "Audit Failure"; empty for Unknown.
QString eventTypeName(EventType type);

/// Appends the record's text block, every line ending with LF: "%02llu\tEvent ID: %lld\tTime: "
/// with the time in ctime form, then "EventType: %s\tSource: %s " (and "\tComputer: %s" with
/// withComputer), then each string and one empty line when the record has strings.
void appendEventBlock(QString& text, const EventRecord& record, bool withComputer = false);

/// True when the records come from more than one machine: told apart by machine ID, or by
/// computer name where a record has no ID.
bool fromSeveralMachines(const std::vector<EventRecord>& records);

/// The blocks of records, in their order; each names its computer when they come from several
/// machines, so those of one machine (every local journal) read as they always have.
QString eventBlocks(const std::vector<EventRecord>& records);

} // namespace ombrel
