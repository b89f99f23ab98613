#include "find/TextFinder.h"

#include <algorithm>

namespace ombrel {

namespace {

// Backward searches look at blocks of this many characters (doubling) before the position.
constexpr std::int64_t firstBlock = std::int64_t{1} << 16;

// The first match starting in [from, to); outer nothing when stale.
std::optional<TextFinder::Found> firstIn(RegexScanner& scanner, const LogText& text,
                                         std::int64_t from, std::int64_t to,
                                         const StaleCheck& isStale) {
    TextFinder::Found found;
    const ScanOutcome outcome = scanner.scan(
        text, from, to,
        [&found](std::int64_t start, std::int64_t end) {
            found = FoundMatch{start, end, false};
            return false;
        },
        isStale);
    if (outcome.stopped && !found) {
        return std::nullopt;
    }
    return found;
}

// The start of the line that holds position.
std::int64_t lineStartOf(const LogText& text, std::int64_t position) {
    return text.visit([position](auto chars) {
        std::int64_t at = position;
        while (at > 0 && chars[static_cast<std::size_t>(at - 1)] != '\n' &&
               chars[static_cast<std::size_t>(at - 1)] != '\r') {
            --at;
        }
        return at;
    });
}

// The last match starting in [floor, to), blocks of lines at a time from to backwards.
std::optional<TextFinder::Found> lastIn(RegexScanner& scanner, const LogText& text,
                                        std::int64_t floor, std::int64_t to,
                                        const StaleCheck& isStale) {
    std::int64_t block = firstBlock;
    while (to > floor) {
        const std::int64_t from = std::max(floor, lineStartOf(text, std::max(floor, to - block)));
        TextFinder::Found found;
        const ScanOutcome outcome = scanner.scan(
            text, from, to,
            [&found](std::int64_t start, std::int64_t end) {
                found = FoundMatch{start, end, false};
                return true;
            },
            isStale);
        if (outcome.stopped) {
            return std::nullopt;
        }
        if (found) {
            return found;
        }
        to = from;
        block *= 2;
    }
    return TextFinder::Found{};
}

} // namespace

std::optional<TextFinder::Found> TextFinder::next(RegexScanner& scanner, const LogText& text,
                                                  std::int64_t from, const StaleCheck& isStale) {
    from = std::clamp<std::int64_t>(from, 0, text.size());
    auto found = firstIn(scanner, text, from, text.size(), isStale);
    if (!found || *found) {
        return found;
    }
    found = firstIn(scanner, text, 0, from, isStale);
    if (found && *found) {
        (*found)->wrapped = true;
    }
    return found;
}

std::optional<TextFinder::Found> TextFinder::previous(RegexScanner& scanner, const LogText& text,
                                                      std::int64_t from,
                                                      const StaleCheck& isStale) {
    from = std::clamp<std::int64_t>(from, 0, text.size());
    auto found = lastIn(scanner, text, 0, from, isStale);
    if (!found || *found) {
        return found;
    }
    found = lastIn(scanner, text, from, text.size(), isStale);
    if (found && *found) {
        (*found)->wrapped = true;
    }
    return found;
}

std::optional<MatchCount> TextFinder::count(RegexScanner& scanner, const LogText& text,
                                            std::int64_t position, const StaleCheck& isStale) {
    MatchCount count;
    const ScanOutcome outcome = scanner.scan(
        text, 0, text.size(),
        [&count, position](std::int64_t start, std::int64_t) {
            ++count.total;
            count.before += start < position ? 1 : 0;
            count.atPosition = count.atPosition || start == position;
            return true;
        },
        isStale);
    if (outcome.stopped) {
        return std::nullopt;
    }
    count.limitedLines = outcome.limitedLines;
    return count;
}

} // namespace ombrel
