#pragma once

#include <QString>
#include <QStringList>
#include <mutex>

namespace ombrel {

class SettingsStore;

/// The ordered keywords the display marks. Reloaded on the window's thread while keyword
/// passes copy it on worker threads, so every access goes through one lock.
class KeywordList {
public:
    /// Name of the settings value that holds the keywords.
    static inline const QString settingName = QStringLiteral("Keywords");
    /// Separator between keywords in the stored text.
    static inline const QString separator = QStringLiteral(";;");

    /// Splits a stored text at every separator, left to right, dropping empty pieces;
    /// no trimming, no case folding, duplicates and order kept.
    static QStringList parse(const QString& stored);

    /// Empties the list and refills it from the store; a missing or empty value leaves it empty.
    void loadKeywords(const SettingsStore& store);
    /// Replaces the whole list (pieces are taken as they are, empty ones dropped).
    void replace(const QStringList& keywords);
    /// A copy of the current list, safe to use while the list is reloaded.
    QStringList snapshot() const;

private:
    mutable std::mutex mutex_;
    QStringList keywords_;
};

} // namespace ombrel
