#include "settings/SettingsStore.h"

#include "settings/DecimalNumber.h"
#include "settings/SettingsText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace ombrel {

namespace {

const QString organisation = QStringLiteral("Dravik");
const QString application = QStringLiteral("Ombrel");
// Long enough for another copy's write, short enough not to hang a closing window.
constexpr int lockWaitMs = 3000;

QSettings registry() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, organisation, application);
}

std::optional<QString> readRegistry(const QString& name) {
    const QVariant value = registry().value(name);
    if (value.typeId() != QMetaType::QString) {
        return std::nullopt; // missing, or a value of another type, never taken for text
    }
    return value.toString();
}

bool writeRegistry(const QString& name, const QString& text) {
    QSettings settings = registry();
    settings.setValue(name, text);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace

SettingsStore::SettingsStore(QString path) : path_(std::move(path)) {}

SettingsStore SettingsStore::user() {
#ifdef Q_OS_WIN
    return SettingsStore(QString());
#else
    // QSettings' own place for a user-scope file of organisation and application.
    return SettingsStore(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         u'/' + organisation + u'/' + application + QStringLiteral(".conf"));
#endif
}

SettingsStore SettingsStore::atFile(const QString& path) {
    return SettingsStore(path);
}

std::optional<QString> SettingsStore::readSetting(const QString& name) const {
    if (path_.isEmpty()) {
        return readRegistry(name);
    }
    // Writes replace the file whole, so a read sees one complete version without the lock.
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return SettingsText(file.readAll()).value(name);
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
    if (path_.isEmpty()) {
        return writeRegistry(name, text);
    }
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) {
        return false;
    }
    // The lock file QSettings takes too, so copies of any version write one at a time.
    QLockFile lock(path_ + QStringLiteral(".lock"));
    if (!lock.tryLock(lockWaitMs)) {
        return false;
    }
    QFile current(path_);
    QByteArray before;
    if (current.exists()) {
        if (!current.open(QIODevice::ReadOnly)) {
            return false;
        }
        before = current.readAll();
    }
    SettingsText settings(before);
    if (!settings.setValue(name, text)) {
        return false;
    }
    if (current.exists() && settings.bytes() == before) {
        return true; // already so: the file is left alone
    }
    QSaveFile file(path_);
    return file.open(QIODevice::WriteOnly) &&
           file.write(settings.bytes()) == settings.bytes().size() && file.commit();
}

} // namespace ombrel
