#include "display/KeywordFlags.h"

#include "settings/SettingsStore.h"

namespace ombrel {

KeywordFlags KeywordFlags::load(const SettingsStore& store) {
    KeywordFlags flags;
    flags.highlightKeywords = store.readFlag(QStringLiteral("Highlight"));
    flags.showOnlyMatching = store.readFlag(QStringLiteral("ShowOnly"));
    flags.showWithoutMatching = store.readFlag(QStringLiteral("ShowWithout"));
    flags.keywordsAreRegex = store.readFlag(QStringLiteral("KeywordsRegex"));
    return flags;
}

} // namespace ombrel
