#include "display/KeywordList.h"

#include "settings/SettingsStore.h"

namespace ombrel {

QStringList KeywordList::parse(const QString& stored) {
    return stored.split(separator, Qt::SkipEmptyParts, Qt::CaseSensitive);
}

void KeywordList::loadKeywords(const SettingsStore& store) {
    const auto stored = store.readSetting(settingName);
    QStringList fresh = stored ? parse(*stored) : QStringList();
    const std::lock_guard lock(mutex_);
    keywords_.swap(fresh); // the old list is freed outside the lock, with `fresh`
}

void KeywordList::replace(const QStringList& keywords) {
    QStringList fresh;
    fresh.reserve(keywords.size());
    for (const QString& keyword : keywords) {
        if (!keyword.isEmpty()) {
            fresh.append(keyword);
        }
    }
    const std::lock_guard lock(mutex_);
    keywords_.swap(fresh);
}

QStringList KeywordList::snapshot() const {
    const std::lock_guard lock(mutex_);
    return keywords_; // shared data is reference-counted: a reload never frees what a copy holds
}

} // namespace ombrel
