#pragma once

#include "settings/SettingsStore.h"

#include <QTemporaryDir>
#include <initializer_list>
#include <utility>

namespace ombrel::test {

/// A settings store backed by a fresh file in a temporary folder, removed with the object.
class TempSettings {
public:
    /// Settings holding the given name, value pairs.
    TempSettings(std::initializer_list<std::pair<const char*, const char*>> values = {});
    /// The store; every copy made from path() sees the same values.
    SettingsStore& store() { return store_; }
    /// The file that backs the store.
    QString path() const { return path_; }
    /// Writes the given name, value pairs.
    void set(std::initializer_list<std::pair<const char*, const char*>> values);

private:
    QTemporaryDir dir_;
    QString path_;
    SettingsStore store_;
};

} // namespace ombrel::test
