#pragma once

#include "display/LogText.h"
#include "display/UpdateGeneration.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace ombrel {

/// Where one keyword occurs in a text.
struct KeywordOccurrences {
    std::int64_t length = 0;          ///< characters of each occurrence (the keyword's length)
    std::vector<std::int64_t> starts; ///< start positions, ascending
    /// Characters of each occurrence where they differ (an expression's matches, which never
    /// overlap); empty when every one is length long.
    std::vector<std::int64_t> lengths = {};

    /// Characters of occurrence i.
    std::int64_t lengthOf(std::size_t i) const { return lengths.empty() ? length : lengths[i]; }
};

/// Finds every occurrence of every keyword: a keyword occurs at a position when the text from
/// there on begins with it, compared without regard to case; overlapping occurrences all count.
/// Folds the text once and scans it once for all keywords.
class KeywordMatcher {
public:
    /// Prepares the search for keywords in their order; empty keywords never occur.
    explicit KeywordMatcher(const QStringList& keywords);

    /// One entry per keyword, in list order; nothing when isStale said the work is not wanted.
    std::optional<std::vector<KeywordOccurrences>> findAll(const LogText& text,
                                                           const StaleCheck& isStale = {}) const;

private:
    static constexpr std::size_t pairBits = 1U << 16;

    // Folded characters of text positions [begin, end).
    struct FoldedWindow {
        const char16_t* chars = nullptr;
        std::int64_t begin = 0;
        std::int64_t end = 0;
        const char16_t* at(std::int64_t position) const { return chars + (position - begin); }
    };

    template <class Char>
    std::optional<std::vector<KeywordOccurrences>>
    find(const LogText& source, std::basic_string_view<Char> text, const StaleCheck& isStale) const;
    template <class Char>
    void collectAt(const FoldedWindow& window, const LogText& source,
                   std::basic_string_view<Char> text, std::int64_t position,
                   std::vector<KeywordOccurrences>& found) const;

    std::vector<QString> folded_;                      // folded keywords, list order
    std::array<std::vector<int>, 256> byFirst_;        // keyword indices by low byte of first char
    std::array<std::uint64_t, pairBits / 64> pairs_{}; // low bytes of the first two chars
};

} // namespace ombrel
