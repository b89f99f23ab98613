#pragma once

namespace ombrel {

class SettingsStore;

/// The running window's copies of the settings flags, taken when the window starts.
struct SettingsFlags {
    bool beepOnChange = false;        ///< "Beep"
    bool flashOnChange = false;       ///< "Flash"
    bool highlightKeywords = false;   ///< "Highlight"
    bool showOnlyMatching = false;    ///< "ShowOnly"
    bool showWithoutMatching = false; ///< "ShowWithout"
    bool showTrayIcon = false;        ///< "SysTray"
    bool minimizeToTray = false;      ///< "MinTray"
    bool keepPlacement = false;       ///< "StoreLast"

    /// Reads every flag from the store, in the order the window takes them.
    static SettingsFlags load(const SettingsStore& store);
};

} // namespace ombrel
