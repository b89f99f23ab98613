#pragma once

#include "settings/SettingsWrite.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace ombrel {

/// The user's persisted options: text values under one settings key. Every call reads the
/// store afresh, so a value written by another running copy is what the next read sees.
/// A file store is a hand-editable INI file (see SettingsText); writing one value rewrites
/// only that value's line, under the same lock file as QSettings, and replaces the file whole.
class SettingsStore {
public:
    /// Name of the key's default value (the installation folder).
    static inline const QString defaultValueName = QStringLiteral("Default");

    /// The user's own store for organisation "Dravik", application "Ombrel": the registry on
    /// Windows, elsewhere the file where QSettings keeps it (~/.config/Dravik/Ombrel.conf).
    static SettingsStore user();
    /// A store kept in the settings file at path (tests and portable use).
    static SettingsStore atFile(const QString& path);

    /// The text of the value, of any length, or nothing when it is missing or not text.
    std::optional<QString> readSetting(const QString& name) const;
    /// True exactly when the value reads as the text "1".
    bool readFlag(const QString& name) const;
    /// The value's leading signed decimal number, or nothing when it has none.
    std::optional<std::int32_t> readNumber(const QString& name) const;
    /// Writes text; false, with the reason, when the store could not be written.
    SettingsWrite writeSetting(const QString& name, const QString& text) const;
    /// The settings file, or empty for the registry.
    const QString& filePath() const { return path_; }

private:
    explicit SettingsStore(QString path);

    QString path_; // empty for the Windows registry
};

} // namespace ombrel
