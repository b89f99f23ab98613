#pragma once

#include "eventlog/JournalEntry.h"
#include "eventlog/JournalFolder.h"
#include "eventlog/JournalOpen.h"
#include "eventlog/RecordSource.h"

#include <QStringList>
#include <memory>

namespace ombrel {

/// The systemd journal as a source of records, read through libsystemd: the machine's local
/// journal or the files in one folder, system or current user, narrowed to some computers.
/// The journal object lives and dies on the thread that made the source.
class SdJournalSource final : public RecordSource {
public:
    /// Opens the journal and starts watching it at once, so no change after the opening is
    /// missed. A machine journal that cannot be opened reads as empty and never changes; a
    /// folder that cannot be read is looked for again.
    explicit SdJournalSource(const JournalSourceOptions& options);
    ~SdJournalSource() override;

    QString problem() const override;
    void takeInChanges() override;
    std::vector<EventRecord> newest(std::int64_t count, const StopSignal& stop) override;
    WaitOutcome waitForChange(const StopSignal& stop) override;
    /// The distinct host names (_HOSTNAME) in the journal's files, of every computer, sorted.
    QStringList hostNames() const;

private:
    sd_journal* journal() const;
    QString filesProblem() const;

    JournalSourceOptions options_;
    std::unique_ptr<JournalFolder> folder_; // a folder's files; null for the machine's journal
    // The machine's journal:
    QStringList machineFolders_; // where its files lie
    JournalPointer machine_;
    int descriptor_ = -1;
    int watchError_ = 0; // errno when the journal could not be watched
    QString problem_;
};

} // namespace ombrel
