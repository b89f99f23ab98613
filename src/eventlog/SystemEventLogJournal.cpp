// The machine's event log on Linux: the systemd journal.
#include "eventlog/SdJournalSource.h"
#include "eventlog/SystemEventLog.h"

namespace ombrel {

std::unique_ptr<RecordSource> openSystemEventLog(const JournalSourceOptions& options) {
    return std::make_unique<SdJournalSource>(options);
}

QStringList systemEventLogHostNames(const JournalSourceOptions& options) {
    return SdJournalSource(options).hostNames();
}

} // namespace ombrel
