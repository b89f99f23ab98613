#pragma once

#include "eventlog/RecordSource.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>
#include <thread>

namespace ombrel {

/// Reads the host names a journal holds on a thread of its own and hands them over as a signal
/// on this object's thread. Of lookups asked for while one runs, only the last is made; what
/// the running one finds is then dropped.
class HostNameLookup : public QObject {
    Q_OBJECT
public:
    /// Reads the names of a journal, on the lookup's thread.
    using Reader = std::function<QStringList(const JournalSourceOptions& options)>;

    /// reader reads the names; empty: the system event log's (systemEventLogHostNames).
    explicit HostNameLookup(Reader reader = {}, QObject* parent = nullptr);
    /// Waits for a lookup under way; what it finds is not handed over.
    ~HostNameLookup() override;

    /// Looks up the names of the journal options open, now or once the running lookup ends.
    void start(const JournalSourceOptions& options);

Q_SIGNALS:
    /// The names found by the latest lookup, sorted.
    void namesFound(const QStringList& names);

private:
    void launch();

    Reader reader_;
    std::optional<JournalSourceOptions> pending_; // asked for while a lookup ran
    bool busy_ = false;                           // a lookup runs; this object's thread only
    std::thread thread_;
};

} // namespace ombrel
