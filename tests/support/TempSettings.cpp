#include "support/TempSettings.h"

namespace ombrel::test {

TempSettings::TempSettings(std::initializer_list<std::pair<const char*, const char*>> values)
    : path_(dir_.path() + QStringLiteral("/Ombrel.conf")), store_(SettingsStore::atFile(path_)) {
    set(values);
}

void TempSettings::set(std::initializer_list<std::pair<const char*, const char*>> values) {
    for (const auto& [name, value] : values) {
        store_.writeSetting(QString::fromUtf8(name), QString::fromUtf8(value));
    }
}

} // namespace ombrel::test
