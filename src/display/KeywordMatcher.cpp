#include "display/KeywordMatcher.h"

#include "display/CaseFold.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <type_traits>

namespace ombrel {

namespace {

template <class Char> inline char16_t unit(Char c) {
    return static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(c));
}

template <class Char> inline unsigned pairIndex(Char first, Char second) {
    return (unsigned{unit(first)} & 0xFFU) << 8 | (unsigned{unit(second)} & 0xFFU);
}

// Positions between the halves of a surrogate pair are not character boundaries.
template <class Char>
inline bool splitsPair(const LogText& source, std::basic_string_view<Char> text,
                       std::int64_t position) {
    const auto size = static_cast<std::int64_t>(text.size());
    if (position <= 0 || position >= size) {
        return false;
    }
    if constexpr (sizeof(Char) == 1) {
        // Only units listed apart, 0 bytes here, can be halves of a pair.
        return text[position - 1] == 0 && text[position] == 0 && !source.wideUnits().isEmpty() &&
               source.at(position - 1).isHighSurrogate() && source.at(position).isLowSurrogate();
    } else {
        return QChar::isHighSurrogate(text[position - 1]) && QChar::isLowSurrogate(text[position]);
    }
}

inline const char16_t* keyChars(const QString& key) {
    return QStringView(key).utf16();
}

// Keywords are short and most candidates differ early: a plain loop beats a memcmp call.
inline bool sameChars(const char16_t* a, const char16_t* b, std::int64_t length) {
    for (std::int64_t i = 0; i < length; ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

void fold(std::u16string_view text, char16_t* out) {
    foldCaseAligned(QStringView(text.data(), static_cast<qsizetype>(text.size())), out);
}

// Latin-1 folds as foldCaseAligned folds the same characters in UTF-16 ("µ" to "μ", which
// is why the folded text is UTF-16); runs of ASCII take a branch-free path that vectorises.
void fold(std::string_view text, char16_t* __restrict out) {
    const std::array<char16_t, 0x10000>& folds = basicPlaneFolds();
    const auto* __restrict in = reinterpret_cast<const unsigned char*>(text.data());
    constexpr std::size_t block = 16;
    std::size_t i = 0;
    for (; i + block <= text.size(); i += block) {
        unsigned char any = 0;
        for (std::size_t k = 0; k < block; ++k) {
            any |= in[i + k];
        }
        for (std::size_t k = 0; k < block; ++k) {
            const unsigned char c = in[i + k];
            const auto upper = static_cast<unsigned>(static_cast<unsigned char>(c - 'A') < 26);
            out[i + k] = any < 0x80 ? static_cast<char16_t>(c | upper << 5) : folds[c];
        }
    }
    for (; i < text.size(); ++i) {
        out[i] = folds[in[i]];
    }
}

// Folds the units listed apart of a narrow text's positions [begin, begin + count) into out,
// over the 0 bytes the Latin-1 fold left there.
void foldWideUnits(const LogText& source, std::int64_t begin, std::int64_t count, char16_t* out) {
    const QStringView units = source.wideUnits();
    if (units.isEmpty()) {
        return;
    }
    auto next = static_cast<qsizetype>(source.wideUnitsBefore(begin));
    const std::string_view bytes =
        source.narrow().substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(count));
    for (std::size_t i = bytes.find('\0'); i != std::string_view::npos;
         i = bytes.find('\0', i + 1)) {
        // A pair of neighbours folds as one character.
        const bool pair = units[next].isHighSurrogate() && next + 1 < units.size() &&
                          units[next + 1].isLowSurrogate() && i + 1 < bytes.size() &&
                          bytes[i + 1] == '\0';
        const qsizetype length = pair ? 2 : 1;
        foldCaseAligned(units.sliced(next, length), out + i);
        next += length;
        i += static_cast<std::size_t>(length - 1);
    }
}

} // namespace

KeywordMatcher::KeywordMatcher(const QStringList& keywords) {
    folded_.reserve(static_cast<std::size_t>(keywords.size()));
    for (const QString& keyword : keywords) {
        folded_.push_back(foldCaseAligned(keyword));
        const QString& key = folded_.back();
        if (key.isEmpty()) {
            continue;
        }
        const char16_t first = key.at(0).unicode();
        byFirst_[unsigned{first} & 0xFFU].push_back(static_cast<int>(folded_.size() - 1));
        if (key.size() == 1) { // any second character will do
            for (unsigned second = 0; second < 256; ++second) {
                const unsigned bit = pairIndex(first, static_cast<char16_t>(second));
                pairs_[bit / 64] |= std::uint64_t{1} << (bit % 64);
            }
        } else {
            const unsigned bit = pairIndex(first, key.at(1).unicode());
            pairs_[bit / 64] |= std::uint64_t{1} << (bit % 64);
        }
    }
}

template <class Char>
void KeywordMatcher::collectAt(const FoldedWindow& window, const LogText& source,
                               std::basic_string_view<Char> text, std::int64_t position,
                               std::vector<KeywordOccurrences>& found) const {
    const char16_t* folded = window.at(position);
    const std::int64_t available = window.end - position;
    for (const int index : byFirst_[unsigned{unit(*folded)} & 0xFFU]) {
        const QString& key = folded_[static_cast<std::size_t>(index)];
        const std::int64_t length = key.size();
        if (length > available || !sameChars(folded, keyChars(key), length)) {
            continue;
        }
        // Only a keyword with a lone surrogate could start or end inside a pair.
        if (splitsPair(source, text, position) || splitsPair(source, text, position + length)) {
            continue;
        }
        found[static_cast<std::size_t>(index)].starts.push_back(position);
    }
}

std::optional<std::vector<KeywordOccurrences>>
KeywordMatcher::findAll(const LogText& text, const StaleCheck& isStale) const {
    return text.visit([&](auto chars) { return find(text, chars, isStale); });
}

template <class Char>
std::optional<std::vector<KeywordOccurrences>>
KeywordMatcher::find(const LogText& source, std::basic_string_view<Char> text,
                     const StaleCheck& isStale) const {
    std::vector<KeywordOccurrences> found(folded_.size());
    std::int64_t longest = 0;
    for (std::size_t k = 0; k < folded_.size(); ++k) {
        found[k].length = folded_[k].size();
        longest = std::max(longest, found[k].length);
    }
    const auto size = static_cast<std::int64_t>(text.size());
    if (size == 0 || longest == 0) {
        return found;
    }

    // The text is folded a stretch at a time into one small buffer that stays in the cache,
    // instead of into a copy as large as the text.
    constexpr std::int64_t stretch = std::int64_t{1} << 15;
    constexpr int stretchesPerCheck = 32;
    std::vector<char16_t> buffer(static_cast<std::size_t>(stretch + longest + 1));
    int sinceCheck = 0;
    for (std::int64_t from = 0; from < size; from += stretch) {
        const std::int64_t scanEnd = std::min(size, from + stretch);
        // Far enough for every keyword that starts before scanEnd; a pair cut at `from`
        // is folded whole.
        FoldedWindow window;
        window.begin = splitsPair(source, text, from) ? from - 1 : from;
        window.end = std::min(size, scanEnd + longest);
        window.chars = buffer.data();
        fold(text.substr(static_cast<std::size_t>(window.begin),
                         static_cast<std::size_t>(window.end - window.begin)),
             buffer.data());
        if constexpr (sizeof(Char) == 1) {
            foldWideUnits(source, window.begin, window.end - window.begin, buffer.data());
        }

        const std::int64_t pairEnd = std::min(scanEnd, window.end - 1);
        const char16_t* folded = window.at(from);
        const std::uint64_t* pairs = pairs_.data();
        for (std::int64_t position = from; position < pairEnd; ++position, ++folded) {
            const unsigned bit = pairIndex(folded[0], folded[1]);
            if ((pairs[bit / 64] >> (bit % 64) & 1U) != 0) [[unlikely]] {
                collectAt(window, source, text, position, found);
            }
        }
        if (pairEnd < scanEnd) { // the last character of the text has no successor
            collectAt(window, source, text, pairEnd, found);
        }
        if (++sinceCheck == stretchesPerCheck) {
            sinceCheck = 0;
            if (isStale && isStale()) {
                return std::nullopt;
            }
        }
    }
    return found;
}

} // namespace ombrel
