#pragma once

#include "display/KeywordFlags.h"
#include "notify/NotifyChoice.h"

namespace ombrel {

class SettingsStore;

/// The running window's copies of the settings flags, taken when the window starts.
struct SettingsFlags {
    bool beepOnChange = false;                    ///< "Beep"
    bool flashOnChange = false;                   ///< "Flash"
    NotifyChoice notify = NotifyChoice::Keywords; ///< "Notify"
    KeywordFlags keywords;                        ///< "Highlight", "ShowOnly", "ShowWithout"
    bool showTrayIcon = false;                    ///< "SysTray"
    bool minimizeToTray = false;                  ///< "MinTray"
    bool keepPlacement = false;                   ///< "StoreLast"

    /// Reads every flag from the store, in the order the window takes them.
    static SettingsFlags load(const SettingsStore& store);
};

} // namespace ombrel
