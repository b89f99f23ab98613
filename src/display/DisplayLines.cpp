#include "display/DisplayLines.h"

#include <algorithm>
#include <cstring>

namespace ombrel {

namespace {

template <class Char> std::int64_t countLines(std::basic_string_view<Char> text) {
    if (!lineEnds::holdsOthersThanLf(text)) {
        return std::count(text.begin(), text.end(), Char('\n')) + 1;
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
    // Branch-free per block, so that it vectorises: most texts hold LF line ends only.
    constexpr std::size_t block = 4096;
    const char16_t* chars = text.data();
    for (std::size_t from = 0; from < text.size(); from += block) {
        const std::size_t to = std::min(text.size(), from + block);
        bool found = false;
        for (std::size_t i = from; i < to; ++i) {
            const char16_t c = chars[i];
            found |= (c == u'\r') | (c == paragraphSeparator) | ((c & 0xFFFEU) == beginningOfFrame);
        }
        if (found) {
            return true;
        }
    }
    return false;
}

std::int64_t DisplayLines::count(const LogText& text) {
    return text.visit([](auto chars) { return countLines(chars); });
}

} // namespace ombrel
