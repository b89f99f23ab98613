#pragma once

#include "display/KeywordMatcher.h"
#include "display/LogText.h"
#include "display/UpdateGeneration.h"

#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace ombrel {

/// Where keyword expressions match, and what kept any of them from marking.
struct RegexKeywordMatches {
    std::vector<KeywordOccurrences> occurrences; ///< one entry per keyword, list order
    QStringList problems; ///< one sentence per keyword that marks less than it matches
};

/// Finds the matches of keywords read as regular expressions, folding case: each line on its
/// own, as grep does (see RegexScanner). An invalid expression marks nothing; one that keeps
/// hitting the match limit, or matches beyond all measure, stops marking there; each says so.
class RegexKeywords {
public:
    /// Matches one keyword may mark.
    static constexpr std::size_t maxMatches = 16'000'000;
    /// Lines one keyword may give up at the match limit before it is given up.
    static constexpr std::int64_t maxLimitedLines = 16;

    /// The matches in text; nothing when isStale said the work is not wanted.
    static std::optional<RegexKeywordMatches>
    findAll(const LogText& text, const QStringList& keywords, const StaleCheck& isStale = {});
    /// Why keyword is not a valid expression, as "message at character n"; empty when it is.
    static QString problemOf(const QString& keyword);
};

} // namespace ombrel
