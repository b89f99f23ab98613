#include "display/DisplayLines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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
    // Branch-free over whole blocks of a fixed size, so that it vectorises: most texts hold LF
    // line ends only.
    constexpr std::size_t block = 4096;
    const char16_t* chars = text.data();
    std::size_t from = 0;
    for (; from + block <= text.size(); from += block) {
        bool found = false;
        for (std::size_t i = from; i < from + block; ++i) {
            const char16_t c = chars[i];
            found |= (c == u'\r') | (c == paragraphSeparator) | ((c & 0xFFFEU) == beginningOfFrame);
        }
        if (found) {
            return true;
        }
    }
    return std::any_of(chars + from, chars + text.size(),
                       [](char16_t c) { return c != u'\n' && endsLine(c); });
}

std::int64_t DisplayLines::count(const LogText& text) {
    return text.visit([](auto chars) { return countLines(chars); });
}

} // namespace ombrel
