#pragma once

namespace ombrel {

class SettingsStore;

/// What the display does with keywords: mark them, and which lines to keep afterwards.
struct KeywordFlags {
    bool highlightKeywords = false; ///< "Highlight": mark occurrences; master switch of the filters
    bool showOnlyMatching = false;  ///< "ShowOnly": keep only lines with an occurrence
    bool showWithoutMatching = false; ///< "ShowWithout": keep only lines without an occurrence
    bool keywordsAreRegex = false;    ///< "KeywordsRegex": each keyword is a regular expression

    /// Reads the three flags from the store; a flag is on only for the exact text "1".
    static KeywordFlags load(const SettingsStore& store);
};

} // namespace ombrel
