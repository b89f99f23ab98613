#pragma once

#include "settings/SettingsStore.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace ombrel {

/// The names monitoring was last started on, oldest first, kept in the settings as "MRUCnt"
/// and "MRU0", "MRU1", ... The file-name box shows them; this class tells it where to insert.
class RecentFiles {
public:
    /// Entries an addition keeps.
    static constexpr int keptCount = 3;
    /// Most entries a load reads, however large the stored count.
    static constexpr int loadLimit = 100;

    /// store must stay usable for load and save.
    explicit RecentFiles(SettingsStore store);

    /// Replaces the list with the stored one (skipping missing entries). The box inserts each
    /// entry at its index, i.e. in list order.
    const QStringList& load();
    /// Appends name unless it is already listed (exact, case-sensitive), then drops the oldest
    /// entry beyond keptCount. Returns the position at which the box inserts name (the list's
    /// length before the addition; the box keeps dropped entries), or nothing when listed.
    std::optional<int> add(const QString& name);
    /// Writes "MRUCnt" and the entries; higher stored entries are left alone. The first
    /// failure, when any.
    SettingsWrite save() const;

    /// The entries, oldest first.
    const QStringList& entries() const { return entries_; }

private:
    SettingsStore store_;
    QStringList entries_;
};

} // namespace ombrel
