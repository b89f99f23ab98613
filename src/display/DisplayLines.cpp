#include "display/DisplayLines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ombrel {

namespace {

// Whole blocks of a fixed size let the compiler compare many characters per instruction.
template <class Char> std::int64_t countLineFeeds(std::basic_string_view<Char> text) {
    constexpr std::size_t block = 4096;
    const Char* chars = text.data();
    std::int64_t total = 0;
    std::size_t from = 0;
    for (; from + block <= text.size(); from += block) {
        std::uint32_t inBlock = 0;
        for (std::size_t i = from; i < from + block; ++i) {
            inBlock += chars[i] == Char('\n') ? 1U : 0U;
        }
        total += inBlock;
    }
    for (; from < text.size(); ++from) {
        total += chars[from] == Char('\n') ? 1 : 0;
    }
    return total;
}

template <class Char> std::int64_t countLines(std::basic_string_view<Char> text) {
    if (!lineEnds::holdsOthersThanLf(text)) {
        return countLineFeeds(text) + 1;
    }
    BasicDisplayLines<Char> lines(text);
    DisplayLine line;
    std::int64_t total = 0;
    while (lines.next(line)) {
        ++total;
    }
    return total;
}

} // namespace

bool lineEnds::holdsOthersThanLf(std::string_view text) {
    return std::memchr(text.data(), '\r', text.size()) != nullptr;
}

bool lineEnds::holdsOthersThanLf(std::u16string_view text) {
    // Most texts hold LF line ends only, so this looks at every character of a large text:
    // eight at a time where the processor allows.
    const char16_t* chars = text.data();
    std::size_t from = 0;
#ifdef __SSE2__
    constexpr std::size_t block = 4096;
    const __m128i cr = _mm_set1_epi16(static_cast<short>(u'\r'));
    const __m128i separator = _mm_set1_epi16(static_cast<short>(paragraphSeparator));
    const __m128i frameMask = _mm_set1_epi16(static_cast<short>(0xFFFEU));
    const __m128i frame = _mm_set1_epi16(static_cast<short>(beginningOfFrame));
    for (; from + block <= text.size(); from += block) {
        __m128i found = _mm_setzero_si128();
        for (std::size_t i = from; i < from + block; i += 8) {
            const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chars + i));
            found = _mm_or_si128(found, _mm_cmpeq_epi16(units, cr));
            found = _mm_or_si128(found, _mm_cmpeq_epi16(units, separator));
            found = _mm_or_si128(found, _mm_cmpeq_epi16(_mm_and_si128(units, frameMask), frame));
        }
        if (_mm_movemask_epi8(found) != 0) {
            return true;
        }
    }
#endif
    return std::any_of(chars + from, chars + text.size(),
                       [](char16_t c) { return c != u'\n' && endsLine(c); });
}

std::int64_t DisplayLines::count(const LogText& text) {
    return text.visit([](auto chars) { return countLines(chars); });
}

} // namespace ombrel
