#pragma once

#include <QSettings>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace ombrel {

/// The user's persisted options: text values under one settings key. Every call opens the
/// store afresh, so a value written by another running copy is what the next read sees.
class SettingsStore {
public:
    /// Name of the key's default value (the installation folder).
    static inline const QString defaultValueName = QStringLiteral("Default");

    /// The user's own store: organisation "Dravik", application "Ombrel", native format.
    static SettingsStore user();
    /// A store kept in the INI file at path (tests and portable use).
    static SettingsStore atFile(const QString& path);

    /// The text of the value, of any length, or nothing when it is missing or not text.
    std::optional<QString> readSetting(const QString& name) const;
    /// True exactly when the value reads as the text "1".
    bool readFlag(const QString& name) const;
    /// The value's leading signed decimal number, or nothing when it has none.
    std::optional<std::int32_t> readNumber(const QString& name) const;
    /// Writes text; false when the store could not be written.
    bool writeSetting(const QString& name, const QString& text) const;

private:
    SettingsStore(QString path, QSettings::Format format);
    std::unique_ptr<QSettings> open() const;

    QString path_; // empty for the user's native store
    QSettings::Format format_;
};

} // namespace ombrel
