#include "display/KeywordPass.h"

#include "display/DisplayLines.h"
#include "display/KeywordMatcher.h"
#include "display/LineFilter.h"
#include "display/MarkBuilder.h"
#include "display/RegexKeywords.h"

#include <algorithm>

namespace ombrel {

namespace {

LineFilterMode filterMode(const KeywordFlags& flags) {
    if (flags.showOnlyMatching && flags.showWithoutMatching) {
        return LineFilterMode::keepNone;
    }
    if (flags.showOnlyMatching) {
        return LineFilterMode::keepHits;
    }
    if (flags.showWithoutMatching) {
        return LineFilterMode::keepMisses;
    }
    return LineFilterMode::keepAll;
}

std::vector<std::int64_t> sortedStarts(const std::vector<KeywordOccurrences>& occurrences) {
    std::vector<std::int64_t> starts;
    for (const KeywordOccurrences& keyword : occurrences) {
        starts.insert(starts.end(), keyword.starts.begin(), keyword.starts.end());
    }
    std::sort(starts.begin(), starts.end());
    return starts;
}

} // namespace

std::optional<PassResult> KeywordPass::run(const PassInput& input, const StaleCheck& isStale) {
    const auto stale = [&isStale] { return isStale && isStale(); };
    if (stale()) {
        return std::nullopt;
    }
    PassResult result;
    result.generation = input.generation;
    if (!input.flags.highlightKeywords) {
        result.text = input.text;
        result.linesBeforeFiltering = DisplayLines::count(input.text);
        return result;
    }

    std::optional<std::vector<KeywordOccurrences>> occurrences;
    if (input.flags.keywordsAreRegex) {
        auto matches = RegexKeywords::findAll(input.text, input.keywords, isStale);
        if (matches) {
            occurrences = std::move(matches->occurrences);
            result.keywordProblems = std::move(matches->problems);
        }
    } else {
        occurrences = KeywordMatcher(input.keywords).findAll(input.text, isStale);
    }
    if (!occurrences) {
        return std::nullopt;
    }
    auto marks = MarkBuilder::build(*occurrences, isStale);
    if (!marks || stale()) {
        return std::nullopt;
    }
    const LineFilterMode mode = filterMode(input.flags);
    if (mode == LineFilterMode::keepAll &&
        !input.text.visit([](auto chars) { return lineEnds::holdsOthersThanLf(chars); })) {
        // Each line end is one character already: the marks stand as they are.
        result.text = input.text;
        result.marks = std::move(*marks);
        result.linesBeforeFiltering = DisplayLines::count(input.text);
        return result;
    }
    const std::vector<std::int64_t> hits =
        mode == LineFilterMode::keepAll ? std::vector<std::int64_t>() : sortedStarts(*occurrences);
    FilteredText filtered = LineFilter::apply(input.text, hits, *marks, mode);
    if (stale()) {
        return std::nullopt;
    }
    result.text = std::move(filtered.text);
    result.marks = std::move(filtered.marks);
    result.linesBeforeFiltering = filtered.linesBefore;
    return result;
}

} // namespace ombrel
