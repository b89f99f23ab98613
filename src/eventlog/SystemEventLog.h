#pragma once

#include "eventlog/RecordSource.h"

#include <QStringList>
#include <memory>

namespace ombrel {

/// The machine's own event log as a source of records: the systemd journal (SdJournalSource),
/// or on Windows the event log (WinEventLogSource), System or Application.
std::unique_ptr<RecordSource> openSystemEventLog(const JournalSourceOptions& options);

/// The distinct computer names in the log options names (of every computer), sorted.
QStringList systemEventLogHostNames(const JournalSourceOptions& options);

} // namespace ombrel
