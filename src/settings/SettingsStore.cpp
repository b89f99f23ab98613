#include "settings/SettingsStore.h"

#include "settings/DecimalNumber.h"

#include <QStringList>
#include <memory>

namespace ombrel {

SettingsStore::SettingsStore(QString path, QSettings::Format format)
    : path_(std::move(path)), format_(format) {}

SettingsStore SettingsStore::user() {
    return SettingsStore(QString(), QSettings::NativeFormat);
}

SettingsStore SettingsStore::atFile(const QString& path) {
    return SettingsStore(path, QSettings::IniFormat);
}

std::unique_ptr<QSettings> SettingsStore::open() const {
    auto settings =
        path_.isEmpty()
            ? std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                          QStringLiteral("Dravik"), QStringLiteral("Ombrel"))
            : std::make_unique<QSettings>(path_, format_);
    settings->sync(); // pick up what another copy wrote since the last look
    return settings;
}

std::optional<QString> SettingsStore::readSetting(const QString& name) const {
    const QVariant value = open()->value(name);
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
        // An INI line edited by hand with commas in it reads as a list.
        return value.toStringList().join(u',');
    default:
        // Missing, or a value of another type, which is never taken for text.
        return std::nullopt;
    }
}

bool SettingsStore::readFlag(const QString& name) const {
    const auto text = readSetting(name);
    return text && *text == u"1";
}

std::optional<std::int32_t> SettingsStore::readNumber(const QString& name) const {
    const auto text = readSetting(name);
    return text ? parseLeadingDecimal(*text) : std::nullopt;
}

bool SettingsStore::writeSetting(const QString& name, const QString& text) const {
    auto settings = open();
    settings->setValue(name, text);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

} // namespace ombrel
