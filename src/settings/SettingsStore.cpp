#include "settings/SettingsStore.h"

#include "settings/DecimalNumber.h"
#include "settings/SettingsText.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

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

SettingsWrite writeRegistry(const QString& name, const QString& text) {
    QSettings settings = registry();
    settings.setValue(name, text);
    settings.sync();
    return settings.status() == QSettings::NoError
               ? SettingsWrite()
               : SettingsWrite::failed(QStringLiteral("the registry refused the value"));
}

// Why the folder of the settings file cannot be made, or nothing when it stands.
std::optional<QString> makeFolder(const QString& folder) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(folder.toStdU16String()), error);
    if (!error) {
        return std::nullopt;
    }
    return QString::fromLocal8Bit(error.message()) + QStringLiteral(" (") + folder + u')';
}

QString lockFailure(const QLockFile& lock, const QString& lockPath) {
    switch (lock.error()) {
    case QLockFile::LockFailedError:
        return QStringLiteral("another program holds the lock file ") + lockPath;
    case QLockFile::PermissionError:
        return QStringLiteral("Permission denied (") + lockPath + u')';
    default:
        return QStringLiteral("the lock file ") + lockPath + QStringLiteral(" cannot be made");
    }
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

SettingsWrite SettingsStore::writeSetting(const QString& name, const QString& text) const {
    if (path_.isEmpty()) {
        return writeRegistry(name, text);
    }
    if (const auto failure = makeFolder(QFileInfo(path_).absolutePath())) {
        return SettingsWrite::failed(*failure);
    }
    // The lock file QSettings takes too, so copies of any version write one at a time.
    const QString lockPath = path_ + QStringLiteral(".lock");
    QLockFile lock(lockPath);
    if (!lock.tryLock(lockWaitMs)) {
        return SettingsWrite::failed(lockFailure(lock, lockPath));
    }
    QFile current(path_);
    QByteArray before;
    if (current.exists()) {
        if (!current.open(QIODevice::ReadOnly)) {
            return SettingsWrite::failed(current.errorString());
        }
        before = current.readAll();
        current.close(); // on Windows a file still open here could not be replaced
    }
    SettingsText settings(before);
    if (!settings.setValue(name, text)) {
        return SettingsWrite::failed(QStringLiteral("no settings line can hold the name ") + name);
    }
    if (current.exists() && settings.bytes() == before) {
        return {}; // already so: the file is left alone
    }
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(settings.bytes()) != settings.bytes().size() || !file.commit()) {
        return SettingsWrite::failed(file.errorString());
    }
    return {};
}

} // namespace ombrel
