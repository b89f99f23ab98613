#pragma once

#include "eventlog/HostNameLookup.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsWrite.h"

#include <QStringList>

class QComboBox;
class QLabel;

namespace ombrel {

/// The "Computer" box: the computers whose entries an event-log Start reads, names separated
/// by ";;" (empty: all), stored as JournalHosts; its list offers the host names seen in the
/// journal, looked up off the window's thread.
class ComputerBox {
public:
    /// The widgets, owned by the window.
    struct Controls {
        QLabel* label = nullptr;
        QComboBox* box = nullptr;
    };

    /// Works on controls, which must outlive this object, showing hosts; reader reads a
    /// journal's names (empty: the systemd journal's).
    ComputerBox(Controls controls, SettingsStore settings, const QStringList& hosts,
                HostNameLookup::Reader reader = {});

    /// Offers the names of the journal options would read, once they are found; the text in
    /// the box stays.
    void lookUp(const JournalSourceOptions& options);
    /// The computers named in the box.
    QStringList hosts() const;
    /// Stores hosts() as JournalHosts unless they are stored already; why not when it failed.
    SettingsWrite save() const;

private:
    void offer(const QStringList& names);

    Controls controls_;
    SettingsStore settings_;
    HostNameLookup lookup_;
};

} // namespace ombrel
