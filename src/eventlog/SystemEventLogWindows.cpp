// The machine's event log on Windows: the System and Application logs.
#include "eventlog/SystemEventLog.h"
#include "eventlog/WinEventLogSource.h"

namespace ombrel {

std::unique_ptr<RecordSource> openSystemEventLog(const JournalSourceOptions& options) {
    return std::make_unique<WinEventLogSource>(options);
}

QStringList systemEventLogHostNames(const JournalSourceOptions& options) {
    return WinEventLogSource(options).hostNames();
}

} // namespace ombrel
