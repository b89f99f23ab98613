#include "app/SettingsFlags.h"

#include "settings/SettingsStore.h"

namespace ombrel {

SettingsFlags SettingsFlags::load(const SettingsStore& store) {
    SettingsFlags flags;
    flags.beepOnChange = store.readFlag(QStringLiteral("Beep"));
    flags.flashOnChange = store.readFlag(QStringLiteral("Flash"));
    flags.notify = notifyChoiceOf(store.readSetting(QStringLiteral("Notify")));
    flags.keywords = KeywordFlags::load(store);
    flags.showTrayIcon = store.readFlag(QStringLiteral("SysTray"));
    flags.minimizeToTray = store.readFlag(QStringLiteral("MinTray"));
    flags.keepPlacement = store.readFlag(QStringLiteral("StoreLast"));
    return flags;
}

} // namespace ombrel
