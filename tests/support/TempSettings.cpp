#include "support/TempSettings.h"

namespace ombrel::test {

TempSettings::TempSettings()
    : path_(dir_.path() + QStringLiteral("/Ombrel.conf")), store_(SettingsStore::atFile(path_)) {}

} // namespace ombrel::test
