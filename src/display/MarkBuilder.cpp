#include "display/MarkBuilder.h"

#include <algorithm>
#include <limits>

namespace ombrel {

namespace {

struct Span {
    std::int64_t start = 0;
    std::int64_t end = 0;
};

// A stretch of marked text; its characters' sizes live in one shared array from `base` on.
struct Covered {
    std::int64_t start = 0;
    std::int64_t end = 0;
    std::size_t base = 0;
};

// The union of all occurrences, as sorted stretches that neither overlap nor touch.
std::vector<Covered> coveredStretches(const std::vector<KeywordOccurrences>& occurrences) {
    std::vector<Span> spans;
    for (const KeywordOccurrences& keyword : occurrences) {
        for (std::size_t i = 0; i < keyword.starts.size(); ++i) {
            if (keyword.lengthOf(i) > 0) {
                spans.push_back({keyword.starts[i], keyword.starts[i] + keyword.lengthOf(i)});
            }
        }
    }
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.start < b.start; });
    std::vector<Covered> covered;
    std::size_t base = 0;
    for (const Span& span : spans) {
        if (!covered.empty() && span.start <= covered.back().end) {
            covered.back().end = std::max(covered.back().end, span.end);
            continue;
        }
        if (!covered.empty()) {
            base += static_cast<std::size_t>(covered.back().end - covered.back().start);
        }
        covered.push_back({span.start, span.end, base});
    }
    return covered;
}

} // namespace

std::optional<MarkRuns> MarkBuilder::build(const std::vector<KeywordOccurrences>& occurrences,
                                           const StaleCheck& isStale) {
    const std::vector<Covered> covered = coveredStretches(occurrences);
    if (covered.empty()) {
        return MarkRuns{};
    }
    const std::size_t coveredChars =
        covered.back().base + static_cast<std::size_t>(covered.back().end - covered.back().start);
    // Size steps of every marked character, stretch after stretch.
    std::vector<std::uint16_t> steps(coveredChars, 0);

    constexpr std::uint16_t maxSteps = std::numeric_limits<std::uint16_t>::max();
    constexpr std::size_t checkEvery = 1U << 16;
    std::size_t sinceCheck = 0;
    for (const KeywordOccurrences& keyword : occurrences) {
        auto stretch = covered.begin();
        for (std::size_t i = 0; i < keyword.starts.size(); ++i) {
            const std::int64_t start = keyword.starts[i];
            const auto length = static_cast<std::size_t>(keyword.lengthOf(i));
            if (length == 0) {
                continue;
            }
            while (stretch->end <= start) { // starts ascend, and every one is covered
                ++stretch;
            }
            const std::size_t first =
                stretch->base + static_cast<std::size_t>(start - stretch->start);
            const auto chars = steps.begin() + static_cast<std::ptrdiff_t>(first);
            const auto charsEnd = chars + static_cast<std::ptrdiff_t>(length);
            const std::uint16_t size = *chars;
            const bool oneSize =
                std::all_of(chars, charsEnd, [size](std::uint16_t s) { return s == size; });
            if (oneSize && size < maxSteps) {
                std::fill(chars, charsEnd, static_cast<std::uint16_t>(size + 1));
            }
            sinceCheck += length;
            if (sinceCheck >= checkEvery) {
                sinceCheck = 0;
                if (isStale && isStale()) {
                    return std::nullopt;
                }
            }
        }
    }

    MarkRuns runs;
    for (const Covered& stretch : covered) {
        std::size_t index = stretch.base;
        for (std::int64_t position = stretch.start; position < stretch.end;) {
            const std::uint16_t size = steps[index];
            std::int64_t runEnd = position;
            while (runEnd < stretch.end && steps[index] == size) {
                ++runEnd;
                ++index;
            }
            runs.push_back({position, runEnd - position, size});
            position = runEnd;
        }
    }
    return runs;
}

} // namespace ombrel
