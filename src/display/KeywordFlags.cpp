#include "display/KeywordFlags.h"

#include "settings/SettingsStore.h"

namespace ombrel {

KeywordFlags KeywordFlags::load(const SettingsStore& store) {
    KeywordFlags flags;
    flags.highlightKeywords = store.readFlag(QStringLiteral("Highlight"));
    flags.showOnlyMatching = store.readFlag(QStringLiteral("ShowOnly"));
    flags.showWithoutMatching = store.readFlag(QStringLiteral("ShowWithout"));
    return flags;
}

} // namespace ombrel
