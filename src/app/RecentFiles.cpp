#include "app/RecentFiles.h"

#include <algorithm>

namespace ombrel {

namespace {
QString entryName(qsizetype index) {
    return QStringLiteral("MRU%1").arg(index);
}
} // namespace

RecentFiles::RecentFiles(SettingsStore store) : store_(std::move(store)) {}

const QStringList& RecentFiles::load() {
    entries_.clear();
    const auto count = store_.readNumber(QStringLiteral("MRUCnt"));
    if (!count || *count <= 0) {
        return entries_;
    }
    // A damaged count must not keep start-up reading for minutes.
    const int limit = std::min(*count, loadLimit);
    for (int i = 0; i < limit; ++i) {
        if (auto name = store_.readSetting(entryName(i))) {
            entries_.append(std::move(*name));
        }
    }
    return entries_;
}

std::optional<int> RecentFiles::add(const QString& name) {
    if (entries_.contains(name, Qt::CaseSensitive)) {
        return std::nullopt;
    }
    const auto position = static_cast<int>(entries_.size());
    entries_.append(name);
    if (entries_.size() > keptCount) {
        entries_.removeFirst();
    }
    return position;
}

SettingsWrite RecentFiles::save() const {
    SettingsWrite written =
        store_.writeSetting(QStringLiteral("MRUCnt"), QString::number(entries_.size()));
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        written &= store_.writeSetting(entryName(i), entries_[i]);
    }
    return written;
}

} // namespace ombrel
