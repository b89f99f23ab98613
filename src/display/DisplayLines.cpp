#include "display/DisplayLines.h"

namespace ombrel {

namespace {

constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kBeginningOfFrame = 0xFDD0;
constexpr char16_t kEndOfFrame = 0xFDD1;

inline bool endsLine(char16_t c) {
    // Most characters fail the first, cheap test.
    if (c <= u'\r') {
        return c == u'\n' || c == u'\r';
    }
    return c == kParagraphSeparator || c == kBeginningOfFrame || c == kEndOfFrame;
}

} // namespace

bool DisplayLines::next(DisplayLine& line) {
    if (done_) {
        return false;
    }
    const char16_t* chars = text_.utf16();
    const std::int64_t size = text_.size();
    std::int64_t i = position_;
    while (i < size && !endsLine(chars[i])) {
        ++i;
    }
    line.start = position_;
    line.contentLength = i - position_;
    if (i == size) {
        line.breakLength = 0;
        done_ = true; // the text after the last line end is the last line, even when empty
    } else {
        const bool crLf = chars[i] == u'\r' && i + 1 < size && chars[i + 1] == u'\n';
        line.breakLength = crLf ? 2 : 1;
    }
    position_ = line.end();
    return true;
}

std::int64_t DisplayLines::count(QStringView text) {
    DisplayLines lines(text);
    DisplayLine line;
    std::int64_t total = 0;
    while (lines.next(line)) {
        ++total;
    }
    return total;
}

} // namespace ombrel
