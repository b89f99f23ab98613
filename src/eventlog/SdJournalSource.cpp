#include "eventlog/SdJournalSource.h"

#include <QFile>
#include <QSet>
#include <algorithm>
#include <cstdlib>
#include <cstring>
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

JournalFileChoice choiceOf(const JournalSourceOptions& options) {
    return {options.kind, static_cast<unsigned>(::getuid()), !options.directory.isEmpty()};
}

/// The fields of the journal's current entry.
JournalFields currentFields(sd_journal* journal) {
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

} // namespace

SdJournalSource::SdJournalSource(const JournalSourceOptions& options) : options_(options) {
    if (!options.directory.isEmpty()) {
        folder_ =
            std::make_unique<JournalFolder>(options.directory, choiceOf(options), options.hosts);
        return;
    }
    machineFolders_ = machineJournalFolders();
    const int kindFlag =
        options.kind == JournalKind::System ? SD_JOURNAL_SYSTEM : SD_JOURNAL_CURRENT_USER;
    sd_journal* journal = nullptr;
    if (const int opened = sd_journal_open(&journal, SD_JOURNAL_LOCAL_ONLY | kindFlag);
        opened < 0) {
        problem_ = QStringLiteral("Cannot open the journal: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(-opened)));
        return;
    }
    machine_.reset(journal);
    if (const int matched = matchHosts(journal, options.hosts); matched < 0) {
        machine_.reset();
        problem_ = QStringLiteral("Cannot choose the computers: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(-matched)));
        return;
    }
    descriptor_ = sd_journal_get_fd(journal);
    if (descriptor_ < 0) {
        watchError_ = -descriptor_;
    }
    problem_ = filesProblem();
}

SdJournalSource::~SdJournalSource() = default;

sd_journal* SdJournalSource::journal() const {
    return folder_ ? folder_->journal() : machine_.get();
}

QString SdJournalSource::problem() const {
    return folder_ ? folder_->problem() : problem_;
}

QString SdJournalSource::filesProblem() const {
    const JournalFileChoice choice = choiceOf(options_);
    return journalFilesProblem(countJournalFiles(machineFolders_, choice), QString(), choice.kind,
                               choice.uid);
}

void SdJournalSource::takeInChanges() {
    if (folder_) {
        folder_->takeInChanges();
        return;
    }
    if (!machine_) {
        return;
    }
    sd_journal_process(machine_.get());
    // Files may appear, or become readable, at any time; once one can be read, looking again
    // is no longer needed.
    if (!problem_.isEmpty()) {
        problem_ = filesProblem();
    }
}

std::vector<EventRecord> SdJournalSource::newest(std::int64_t count, const StopSignal& stop) {
    std::vector<EventRecord> records;
    const JournalPointer fresh = folder_ ? folder_->openForReading() : JournalPointer();
    sd_journal* journal = fresh ? fresh.get() : this->journal();
    if (!journal || count <= 0 || sd_journal_seek_tail(journal) < 0) {
        return records;
    }
    records.reserve(static_cast<std::size_t>(std::min<std::int64_t>(count, 1 << 16)));
    QSet<QString> machines; // each machine's name and ID held once, however many entries
    // Across files (machines) the library goes by the entries' realtime stamps.
    while (static_cast<std::int64_t>(records.size()) < count) {
        if (records.size() % 256 == 0 && stop.raised()) {
            break;
        }
        if (sd_journal_previous(journal) <= 0) {
            break;
        }
        EventRecord record = eventRecordFromJournal(currentFields(journal));
        record.computer = *machines.insert(record.computer);
        record.machineId = *machines.insert(record.machineId);
        records.push_back(std::move(record));
    }
    std::reverse(records.begin(), records.end());
    return records;
}

QStringList SdJournalSource::hostNames() const {
    QStringList names;
    sd_journal* journal = this->journal();
    if (!journal || sd_journal_query_unique(journal, "_HOSTNAME") < 0) {
        return names;
    }
    const void* data = nullptr;
    std::size_t length = 0;
    constexpr std::size_t prefix = sizeof "_HOSTNAME=" - 1;
    SD_JOURNAL_FOREACH_UNIQUE(journal, data, length) {
        if (length > prefix) {
            names.append(QString::fromUtf8(static_cast<const char*>(data) + prefix,
                                           static_cast<qsizetype>(length - prefix)));
        }
    }
    names.sort();
    names.removeDuplicates(); // the same name from several files
    return names;
}

WaitOutcome SdJournalSource::waitForChange(const StopSignal& stop) {
    std::vector<WaitTarget> targets;
    int timeoutMs = -1;
    int error = 0;
    if (folder_) {
        error = folder_->addWaitTargets(targets, timeoutMs);
    } else if (machine_) {
        error = watchError_ != 0
                    ? watchError_
                    : addJournalWaitTarget(machine_.get(), descriptor_, targets, timeoutMs);
    } // else nothing will ever change
    if (error != 0) {
        return {WaitOutcome::Kind::Failed, error};
    }
    return stop.waitFor(targets, timeoutMs);
}

} // namespace ombrel
