#include "eventlog/SdJournalSource.h"

#include "eventlog/JournalFiles.h"

#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <systemd/sd-id128.h>
#include <systemd/sd-journal.h>
#include <unistd.h>

namespace ombrel {

namespace {

/// The folders the machine's local journal reads: volatile and persistent, this machine only.
QStringList machineJournalFolders() {
    sd_id128_t machine;
    QString id;
    if (sd_id128_get_machine(&machine) >= 0) {
        char text[SD_ID128_STRING_MAX];
        id = QString::fromLatin1(sd_id128_to_string(machine, text));
    }
    return {QStringLiteral("/run/log/journal/") + id, QStringLiteral("/var/log/journal/") + id};
}

/// Milliseconds from now until a CLOCK_MONOTONIC deadline in microseconds; -1 for none.
int millisecondsUntil(std::uint64_t deadline) {
    if (deadline == std::numeric_limits<std::uint64_t>::max()) {
        return -1;
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto nowUs = static_cast<std::uint64_t>(now.tv_sec) * 1000000U +
                       static_cast<std::uint64_t>(now.tv_nsec) / 1000U;
    if (deadline <= nowUs) {
        return 0;
    }
    return static_cast<int>(std::min<std::uint64_t>((deadline - nowUs + 999U) / 1000U,
                                                    std::numeric_limits<int>::max()));
}

} // namespace

void SdJournalSource::Closer::operator()(sd_journal* journal) const {
    sd_journal_close(journal);
}

SdJournalSource::SdJournalSource(const JournalSourceOptions& options)
    : options_(options), folders_(options.directory.isEmpty() ? machineJournalFolders()
                                                              : QStringList{options.directory}) {
    const int kindFlag =
        options.kind == JournalKind::System ? SD_JOURNAL_SYSTEM : SD_JOURNAL_CURRENT_USER;
    sd_journal* journal = nullptr;
    const int opened =
        options.directory.isEmpty()
            ? sd_journal_open(&journal, SD_JOURNAL_LOCAL_ONLY | kindFlag)
            : sd_journal_open_directory(&journal, QFile::encodeName(options.directory).constData(),
                                        kindFlag);
    if (opened < 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(-opened));
        problem_ = options.directory.isEmpty()
                       ? QStringLiteral("Cannot open the journal: %1").arg(reason)
                       : QStringLiteral("Cannot open %1: %2").arg(options.directory, reason);
        return;
    }
    journal_.reset(journal);
    descriptor_ = sd_journal_get_fd(journal);
    if (descriptor_ < 0) {
        watchError_ = -descriptor_;
    }
    problem_ = filesProblem();
}

SdJournalSource::~SdJournalSource() = default;

QString SdJournalSource::filesProblem() const {
    const unsigned uid = ::getuid();
    return journalFilesProblem(countJournalFiles(folders_, options_.kind, uid), options_.directory,
                               options_.kind, uid);
}

void SdJournalSource::takeInChanges() {
    if (!journal_) {
        return;
    }
    sd_journal_process(journal_.get());
    // Files may appear, or become readable, at any time; once one can be read, looking again
    // is no longer needed.
    if (!problem_.isEmpty()) {
        problem_ = filesProblem();
    }
}

JournalFields SdJournalSource::currentFields() const {
    sd_journal* journal = journal_.get();
    JournalFields fields;
    char* cursor = nullptr;
    if (sd_journal_get_cursor(journal, &cursor) >= 0) {
        const std::unique_ptr<char, decltype(&std::free)> owned(cursor, &std::free);
        fields.sequenceNumber = cursorSequenceNumber(owned.get());
    }
    std::uint64_t realtime = 0;
    if (sd_journal_get_realtime_usec(journal, &realtime) >= 0) {
        fields.realtimeMicroseconds = realtime;
    }
    sd_journal_restart_data(journal);
    const void* data = nullptr;
    std::size_t length = 0;
    // Fields that cannot be read (compressed with a method this library lacks) are skipped.
    while (sd_journal_enumerate_available_data(journal, &data, &length) > 0) {
        fields.take(QByteArrayView(static_cast<const char*>(data), static_cast<qsizetype>(length)));
    }
    return fields;
}

std::vector<EventRecord> SdJournalSource::newest(std::int64_t count, const StopSignal& stop) {
    std::vector<EventRecord> records;
    if (!journal_ || count <= 0 || sd_journal_seek_tail(journal_.get()) < 0) {
        return records;
    }
    records.reserve(static_cast<std::size_t>(std::min<std::int64_t>(count, 1 << 16)));
    while (static_cast<std::int64_t>(records.size()) < count) {
        if (records.size() % 256 == 0 && stop.raised()) {
            break;
        }
        if (sd_journal_previous(journal_.get()) <= 0) {
            break;
        }
        records.push_back(eventRecordFromJournal(currentFields()));
    }
    std::reverse(records.begin(), records.end());
    return records;
}

WaitOutcome SdJournalSource::waitForChange(const StopSignal& stop) {
    if (!journal_) {
        return stop.waitFor(-1, 0, -1); // nothing will ever change
    }
    if (watchError_ != 0) {
        return {WaitOutcome::Kind::Failed, watchError_};
    }
    const int events = sd_journal_get_events(journal_.get());
    if (events < 0) {
        return {WaitOutcome::Kind::Failed, -events};
    }
    std::uint64_t deadline = std::numeric_limits<std::uint64_t>::max();
    sd_journal_get_timeout(journal_.get(), &deadline);
    return stop.waitFor(descriptor_, static_cast<short>(events), millisecondsUntil(deadline));
}

} // namespace ombrel
