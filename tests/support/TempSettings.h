#pragma once

#include "settings/SettingsStore.h"

#include <QTemporaryDir>

namespace ombrel::test {

/// A settings store backed by a fresh file in a temporary folder, removed with the object.
class TempSettings {
public:
    TempSettings();
    /// The store; every copy made from path() sees the same values.
    SettingsStore& store() { return store_; }
    /// The file that backs the store.
    QString path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
    SettingsStore store_;
};

} // namespace ombrel::test
