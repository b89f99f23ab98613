#pragma once

#include "eventlog/JournalEntry.h"
#include "eventlog/RecordSource.h"

#include <QStringList>
#include <memory>

struct sd_journal;

namespace ombrel {

/// The systemd journal as a source of records, read through libsystemd: the machine's local
/// journal or the files in one folder, system or current user. The journal object lives and
/// dies on the thread that made the source.
class SdJournalSource final : public RecordSource {
public:
    /// Opens the journal and starts watching it at once, so no change after the opening is
    /// missed. A journal that cannot be opened reads as empty and never changes.
    explicit SdJournalSource(const JournalSourceOptions& options);
    ~SdJournalSource() override;

    QString problem() const override { return problem_; }
    void takeInChanges() override;
    std::vector<EventRecord> newest(std::int64_t count, const StopSignal& stop) override;
    WaitOutcome waitForChange(const StopSignal& stop) override;

private:
    struct Closer {
        void operator()(sd_journal* journal) const;
    };
    JournalFields currentFields() const;
    QString filesProblem() const;

    JournalSourceOptions options_;
    QStringList folders_; // where the journal's files lie
    std::unique_ptr<sd_journal, Closer> journal_;
    int descriptor_ = -1;
    int watchError_ = 0; // errno when the journal could not be watched
    QString problem_;
};

} // namespace ombrel
