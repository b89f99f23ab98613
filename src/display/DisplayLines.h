#pragma once

#include "display/LogText.h"

#include <cstdint>
#include <string_view>
#include <type_traits>

namespace ombrel {

/// One line of a text as the display counts it: its characters and the line end after them.
struct DisplayLine {
    std::int64_t start = 0;         ///< position of the first character in the text
    std::int64_t contentLength = 0; ///< characters before the line end
    std::int64_t breakLength = 0;   ///< 0 for the last line, 2 for CR LF, else 1

    /// Position one past the line end.
    std::int64_t end() const { return start + contentLength + breakLength; }
};

/// The display's line ends: CR LF, LF, a lone CR, the paragraph separator U+2029 and the frame
/// marks U+FDD0/U+FDD1 each end one line.
namespace lineEnds {
constexpr char16_t paragraphSeparator = 0x2029;
constexpr char16_t beginningOfFrame = 0xFDD0;
constexpr char16_t endOfFrame = 0xFDD1;

/// True for a character that ends a line.
template <class Char> inline bool endsLine(Char c) {
    const auto unit = static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(c));
    // Most characters fail the first, cheap test.
    if (unit <= u'\r') {
        return unit == u'\n' || unit == u'\r';
    }
    return unit == paragraphSeparator || unit == beginningOfFrame || unit == endOfFrame;
}

/// True when text holds a line end other than LF (so its lines are not simply split at LF).
bool holdsOthersThanLf(std::string_view text);
/// True when text holds a line end other than LF (so its lines are not simply split at LF).
bool holdsOthersThanLf(std::u16string_view text);
} // namespace lineEnds

/// Walks a text line by line the way the display splits it into blocks (see lineEnds), each
/// line end counting as one character of the display. A text has at least one line.
template <class Char> class BasicDisplayLines {
public:
    /// Starts at the first line of text, which must outlive the walker.
    explicit BasicDisplayLines(std::basic_string_view<Char> text) : text_(text) {}

    /// Fills line with the next line; false once every line has been given.
    bool next(DisplayLine& line) {
        if (done_) {
            return false;
        }
        const auto size = static_cast<std::int64_t>(text_.size());
        std::int64_t i = position_;
        while (i < size && !lineEnds::endsLine(text_[i])) {
            ++i;
        }
        line.start = position_;
        line.contentLength = i - position_;
        if (i == size) {
            line.breakLength = 0;
            done_ = true; // the text after the last line end is the last line, even when empty
        } else {
            const bool crLf = text_[i] == '\r' && i + 1 < size && text_[i + 1] == '\n';
            line.breakLength = crLf ? 2 : 1;
        }
        position_ = line.end();
        return true;
    }

private:
    std::basic_string_view<Char> text_;
    std::int64_t position_ = 0;
    bool done_ = false;
};

/// Counts lines the way the display does.
class DisplayLines {
public:
    /// Number of lines of text as the display counts them (an empty text has one).
    static std::int64_t count(const LogText& text);
};

} // namespace ombrel
