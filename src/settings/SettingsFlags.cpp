#include "settings/SettingsFlags.h"

#include "settings/SettingsStore.h"

namespace ombrel {

SettingsFlags SettingsFlags::load(const SettingsStore& store) {
    SettingsFlags flags;
    flags.beepOnChange = store.readFlag(QStringLiteral("Beep"));
    flags.flashOnChange = store.readFlag(QStringLiteral("Flash"));
    flags.highlightKeywords = store.readFlag(QStringLiteral("Highlight"));
    flags.showOnlyMatching = store.readFlag(QStringLiteral("ShowOnly"));
    flags.showWithoutMatching = store.readFlag(QStringLiteral("ShowWithout"));
    flags.showTrayIcon = store.readFlag(QStringLiteral("SysTray"));
    flags.minimizeToTray = store.readFlag(QStringLiteral("MinTray"));
    flags.keepPlacement = store.readFlag(QStringLiteral("StoreLast"));
    return flags;
}

} // namespace ombrel
