#pragma once

#include <QStringView>
#include <cstdint>

namespace ombrel {

/// One line of a text as the display counts it: its characters and the line end after them.
struct DisplayLine {
    std::int64_t start = 0;         ///< position of the first character in the text
    std::int64_t contentLength = 0; ///< characters before the line end
    std::int64_t breakLength = 0;   ///< 0 for the last line, 2 for CR LF, else 1

    /// Position one past the line end.
    std::int64_t end() const { return start + contentLength + breakLength; }
};

/// Walks a text line by line the way the display splits it into blocks: CR LF, LF, a lone CR,
/// the paragraph separator U+2029 and the frame marks U+FDD0/U+FDD1 each end one line, and
/// the document holds every line end as one character. A text has at least one line.
class DisplayLines {
public:
    /// Starts at the first line of text, which must outlive the walker.
    explicit DisplayLines(QStringView text) : text_(text) {}

    /// Fills line with the next line; false once every line has been given.
    bool next(DisplayLine& line);

    /// Number of lines of text as the display counts them (an empty text has one).
    static std::int64_t count(QStringView text);

private:
    QStringView text_;
    std::int64_t position_ = 0;
    bool done_ = false;
};

} // namespace ombrel
