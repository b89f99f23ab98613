#include "display/RegexScanner.h"

#include "display/DisplayLines.h"

#include <QStringView>
#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

#define PCRE2_CODE_UNIT_WIDTH 0
#include <pcre2.h>

namespace ombrel {

namespace {

// Lines line-safe patterns search at once, and the work between two stale checks.
constexpr std::int64_t chunkChars = std::int64_t{1} << 20;
constexpr std::size_t jitStackMax = std::size_t{1} << 20;

enum class LineEnd { Done, Stopped, Limited };

template <class Char> inline char16_t unitOf(Char c) {
    return static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(c));
}

// The next position at or after a given one that holds any of a few units, each unit's next
// place remembered: positions asked for never go back, so the text is read about once.
template <class Char> class UnitFinder {
public:
    UnitFinder(std::basic_string_view<Char> text, std::vector<char16_t> units)
        : text_(text), units_(std::move(units)), next_(units_.size(), -1) {}

    bool isEmpty() const { return units_.empty(); }

    std::int64_t next(std::int64_t from) {
        const auto size = static_cast<std::int64_t>(text_.size());
        std::int64_t best = size;
        for (std::size_t k = 0; k < units_.size(); ++k) {
            if (next_[k] < from) {
                next_[k] = find(units_[k], from);
            }
            best = std::min(best, next_[k]);
        }
        return best;
    }

private:
    std::int64_t find(char16_t unit, std::int64_t from) const {
        const auto size = static_cast<std::int64_t>(text_.size());
        if (from >= size) {
            return size;
        }
        if constexpr (sizeof(Char) == 1) {
            const void* at = std::memchr(text_.data() + from, unit, text_.size() - from);
            return at != nullptr ? static_cast<const Char*>(at) - text_.data() : size;
        } else {
            const qsizetype at = QStringView(text_.data(), static_cast<qsizetype>(size))
                                     .indexOf(QChar(unit), static_cast<qsizetype>(from));
            return at >= 0 ? at : size;
        }
    }

    std::basic_string_view<Char> text_;
    std::vector<char16_t> units_;
    std::vector<std::int64_t> next_;
};

template <class Char> std::vector<char16_t> lineEndUnits() {
    if constexpr (sizeof(Char) == 1) {
        return {u'\n', u'\r'}; // the others are never held narrow
    } else {
        return {u'\n', u'\r', lineEnds::paragraphSeparator, lineEnds::beginningOfFrame,
                lineEnds::endOfFrame};
    }
}

template <class Char>
std::int64_t lineStartBefore(std::basic_string_view<Char> text, std::int64_t position,
                             std::int64_t floor) {
    while (position > floor && !lineEnds::endsLine(text[static_cast<std::size_t>(position - 1)])) {
        --position;
    }
    return position;
}

template <class Char>
std::int64_t afterLineEnd(std::basic_string_view<Char> text, std::int64_t lineEnd) {
    const auto size = static_cast<std::int64_t>(text.size());
    const bool crLf =
        lineEnd + 1 < size && text[lineEnd] == Char('\r') && text[lineEnd + 1] == Char('\n');
    return lineEnd + (crLf ? 2 : 1);
}

} // namespace

struct RegexScanner::State {
    std::shared_ptr<const RegexPattern> pattern;
    pcre2_match_context_8* context8 = nullptr;
    pcre2_match_context_16* context16 = nullptr;
    pcre2_jit_stack_8* stack8 = nullptr;
    pcre2_jit_stack_16* stack16 = nullptr;
    pcre2_match_data_8* data8 = nullptr;
    pcre2_match_data_16* data16 = nullptr;

    ~State() {
        pcre2_match_data_free_8(data8);
        pcre2_match_data_free_16(data16);
        pcre2_jit_stack_free_8(stack8);
        pcre2_jit_stack_free_16(stack16);
        pcre2_match_context_free_8(context8);
        pcre2_match_context_free_16(context16);
    }

    // The engine's answer for subject[0, length) from offset; the match is in begin/end.
    int match(const char* subject, std::size_t length, std::size_t offset, std::uint32_t options,
              std::size_t& begin, std::size_t& end) {
        const int rc = pcre2_match_8(pattern->narrowCode(), reinterpret_cast<PCRE2_SPTR8>(subject),
                                     length, offset, options, data8, context8);
        const PCRE2_SIZE* vector = pcre2_get_ovector_pointer_8(data8);
        begin = vector[0];
        end = vector[1];
        return rc;
    }
    int match(const char16_t* subject, std::size_t length, std::size_t offset,
              std::uint32_t options, std::size_t& begin, std::size_t& end) {
        const int rc = pcre2_match_16(pattern->wideCode(), reinterpret_cast<PCRE2_SPTR16>(subject),
                                      length, offset, options, data16, context16);
        const PCRE2_SIZE* vector = pcre2_get_ovector_pointer_16(data16);
        begin = vector[0];
        end = vector[1];
        return rc;
    }

    // Every non-empty match in subject[0, length) from offset from that starts before until,
    // reported shifted by base.
    template <class Char>
    LineEnd matchRange(const Char* subject, std::size_t length, std::size_t from, std::size_t until,
                       std::int64_t base, const Receiver& found) {
        std::size_t offset = from;
        std::uint32_t options = 0;
        while (offset <= length) {
            std::size_t begin = 0;
            std::size_t end = 0;
            const int rc = match(subject, length, offset, options, begin, end);
            if (rc == PCRE2_ERROR_NOMATCH) {
                return LineEnd::Done;
            }
            if (rc < 0) {
                return LineEnd::Limited; // a limit, or anything else the engine gave up on
            }
            if (begin >= until) {
                return LineEnd::Done;
            }
            if (end <= begin) {
                // Nothing matched here: look again from here for a match of something.
                offset = begin;
                options = PCRE2_NOTEMPTY_ATSTART;
                continue;
            }
            if (!found(base + static_cast<std::int64_t>(begin),
                       base + static_cast<std::int64_t>(end))) {
                return LineEnd::Stopped;
            }
            offset = end;
            options = 0;
        }
        return LineEnd::Done;
    }
};

RegexScanner::RegexScanner(std::shared_ptr<const RegexPattern> pattern, std::uint32_t matchLimit)
    : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.pattern = std::move(pattern);
    s.context16 = pcre2_match_context_create_16(nullptr);
    pcre2_set_match_limit_16(s.context16, matchLimit);
    pcre2_set_depth_limit_16(s.context16, matchLimit);
    s.stack16 = pcre2_jit_stack_create_16(32 * 1024, jitStackMax, nullptr);
    pcre2_jit_stack_assign_16(s.context16, nullptr, s.stack16);
    s.data16 = pcre2_match_data_create_from_pattern_16(s.pattern->wideCode(), nullptr);
    if (s.pattern->narrowCode() != nullptr) {
        s.context8 = pcre2_match_context_create_8(nullptr);
        pcre2_set_match_limit_8(s.context8, matchLimit);
        pcre2_set_depth_limit_8(s.context8, matchLimit);
        s.stack8 = pcre2_jit_stack_create_8(32 * 1024, jitStackMax, nullptr);
        pcre2_jit_stack_assign_8(s.context8, nullptr, s.stack8);
        s.data8 = pcre2_match_data_create_from_pattern_8(s.pattern->narrowCode(), nullptr);
    }
}

RegexScanner::~RegexScanner() = default;

ScanOutcome RegexScanner::scan(const LogText& text, std::int64_t from, std::int64_t to,
                               const Receiver& found, const StaleCheck& isStale,
                               std::int64_t maxLimitedLines) {
    return text.visit([&](auto chars) {
        return scanChars(text, chars, from, to, found, isStale, maxLimitedLines);
    });
}

ScanOutcome RegexScanner::scanPiece(const LogText& text, std::int64_t from, std::int64_t to,
                                    const Receiver& found) {
    constexpr std::int64_t margin = 256;
    return text.visit([&](auto chars) {
        ScanOutcome outcome;
        const auto size = static_cast<std::int64_t>(chars.size());
        from = std::clamp<std::int64_t>(from, 0, size);
        to = std::clamp<std::int64_t>(to, from, size);
        const std::int64_t start =
            lineStartBefore(chars, from, std::max<std::int64_t>(0, from - margin));
        std::int64_t end = to;
        const std::int64_t limit = std::min(size, to + margin);
        while (end < limit && !lineEnds::endsLine(chars[static_cast<std::size_t>(end)])) {
            ++end;
        }
        State& s = *state_;
        LineEnd result = LineEnd::Done;
        const bool inPlace =
            (sizeof(chars[0]) == 2 || s.pattern->narrowCode() != nullptr) &&
            (text.wideUnits().isEmpty() ||
             chars.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start))
                     .find(typename decltype(chars)::value_type{}) == decltype(chars)::npos);
        const auto first = static_cast<std::size_t>(from - start);
        const auto until = static_cast<std::size_t>(to - start);
        if (inPlace) {
            result = s.matchRange(chars.data() + start, static_cast<std::size_t>(end - start),
                                  first, until, start, found);
        } else {
            const QString copy = text.mid(start, end - start);
            result =
                s.matchRange(reinterpret_cast<const char16_t*>(copy.utf16()),
                             static_cast<std::size_t>(copy.size()), first, until, start, found);
        }
        outcome.limitedLines = result == LineEnd::Limited ? 1 : 0;
        outcome.stopped = result == LineEnd::Stopped;
        return outcome;
    });
}

template <class Char>
ScanOutcome RegexScanner::scanChars(const LogText& text, std::basic_string_view<Char> chars,
                                    std::int64_t from, std::int64_t to, const Receiver& found,
                                    const StaleCheck& isStale, std::int64_t maxLimitedLines) {
    State& s = *state_;
    ScanOutcome outcome;
    const auto size = static_cast<std::int64_t>(chars.size());
    from = std::clamp<std::int64_t>(from, 0, size);
    to = std::clamp<std::int64_t>(to, from, size);
    constexpr bool narrow = sizeof(Char) == 1;
    const bool withWideUnits = narrow && !text.wideUnits().isEmpty();
    const bool inPlace = !narrow || s.pattern->narrowCode() != nullptr;
    const bool lineSafe = s.pattern->lineSafe() && inPlace;

    UnitFinder<Char> lineEnd(chars, lineEndUnits<Char>());
    UnitFinder<Char> zeros(chars,
                           withWideUnits ? std::vector<char16_t>{0} : std::vector<char16_t>{});
    std::vector<char16_t> required;
    if (!lineSafe) {
        for (const char16_t unit : s.pattern->requiredUnits()) {
            if (!narrow || unit < 0x100) {
                required.push_back(unit);
            }
        }
        // In narrow text a 0 byte stands for any character above U+00FF; a pattern that
        // needs one is matched on copies, where its own form finds it.
        if (!s.pattern->requiredUnits().empty() && (withWideUnits || !inPlace)) {
            required.push_back(0);
        }
        if (required.empty() && !s.pattern->requiredUnits().empty()) {
            return outcome; // the unit it needs cannot be in this text
        }
    }
    UnitFinder<Char> requiredUnit(chars, std::move(required));

    // One line [start, end) of the text, from offset on, on whichever form suits it.
    const auto matchLine = [&](std::int64_t start, std::int64_t end, std::int64_t offset) {
        const auto length = static_cast<std::size_t>(end - start);
        const auto first = static_cast<std::size_t>(std::max<std::int64_t>(offset - start, 0));
        const auto until = static_cast<std::size_t>(std::max<std::int64_t>(to - start, 0));
        if (inPlace && (!withWideUnits || zeros.next(start) >= end)) {
            return s.matchRange(chars.data() + start, length, first, until, start, found);
        }
        const QString copy = text.mid(start, end - start);
        return s.matchRange(reinterpret_cast<const char16_t*>(copy.utf16()), length, first, until,
                            start, found);
    };
    const auto settle = [&](LineEnd result) {
        if (result == LineEnd::Limited && ++outcome.limitedLines >= maxLimitedLines) {
            return true;
        }
        if (result == LineEnd::Stopped) {
            outcome.stopped = true;
            return true;
        }
        return false;
    };
    const auto stale = [&] {
        outcome.stopped = isStale && isStale();
        return outcome.stopped;
    };

    std::int64_t position = lineStartBefore(chars, from, 0);
    std::int64_t sinceCheck = 0;
    while (position < to || position == from) {
        if (sinceCheck > chunkChars) {
            sinceCheck = 0;
            if (stale()) {
                return outcome;
            }
        }
        if (lineSafe) {
            // Whole lines at once, up to the first line held apart by its wide units.
            std::int64_t end = std::min(size, lineEnd.next(std::max(position, from) + chunkChars));
            if (withWideUnits) {
                end = std::min(end, lineStartBefore(chars, zeros.next(position), position));
            }
            if (end > position || end == size) {
                sinceCheck += end - position;
                const LineEnd result =
                    s.matchRange(chars.data(), static_cast<std::size_t>(end),
                                 static_cast<std::size_t>(std::max(position, from)),
                                 static_cast<std::size_t>(to), 0, found);
                if (settle(result) || end >= size) {
                    return outcome;
                }
                position = end;
                if (lineEnds::endsLine(chars[static_cast<std::size_t>(position)])) {
                    position = afterLineEnd(chars, position);
                }
                continue;
            }
        } else if (!requiredUnit.isEmpty()) {
            const std::int64_t next = requiredUnit.next(std::max(position, from));
            if (next >= size) {
                return outcome;
            }
            sinceCheck += next - position;
            position = std::max(position, lineStartBefore(chars, next, position));
            if (position >= to && position != from) {
                return outcome;
            }
        }
        const std::int64_t end = lineEnd.next(position);
        sinceCheck += end - position + 64; // a call costs something, even on a short line
        if (settle(matchLine(position, end, from)) || end >= size) {
            return outcome;
        }
        position = afterLineEnd(chars, end);
    }
    return outcome;
}

} // namespace ombrel
