#pragma once

#include "eventlog/EventRecord.h"

#include <QString>
#include <vector>

namespace ombrel {

/// The shown name of an event type: "Success", "Error", ..., "Audit Failure"; empty for Unknown.
QString eventTypeName(EventType type);

/// Appends the record's text block, every line ending with LF: "%02llu\tEvent ID: %lld\tTime: "
/// with the time in ctime form, then "EventType: %s\tSource: %s ", then each string and one
/// empty line when the record has strings.
void appendEventBlock(QString& text, const EventRecord& record);

/// The blocks of records, in their order.
QString eventBlocks(const std::vector<EventRecord>& records);

} // namespace ombrel
