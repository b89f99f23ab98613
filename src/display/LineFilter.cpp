#include "display/LineFilter.h"

#include "display/DisplayLines.h"

#include <algorithm>

namespace ombrel {

namespace {

// Collects marks in display positions, joining neighbours of one size that now touch.
class MarkSink {
public:
    void add(std::int64_t start, std::int64_t length, int sizeSteps) {
        if (!marks_.empty() && start < marks_.back().end()) {
            // Only a keyword holding half of a CR LF marks a line end twice; the first wins.
            length -= marks_.back().end() - start;
            start = marks_.back().end();
        }
        if (length <= 0) {
            return;
        }
        if (!marks_.empty() && marks_.back().end() == start &&
            marks_.back().sizeSteps == sizeSteps) {
            marks_.back().length += length;
            return;
        }
        marks_.push_back({start, length, sizeSteps});
    }
    MarkRuns take() { return std::move(marks_); }

private:
    MarkRuns marks_;
};

// The part of [start, end) inside [from, to), as a length at its clipped start.
struct Clip {
    std::int64_t start;
    std::int64_t length;
};
inline Clip clip(const MarkRun& run, std::int64_t from, std::int64_t to) {
    const std::int64_t start = std::max(run.start, from);
    return {start, std::min(run.end(), to) - start};
}

void append(QByteArray& out, const char* chars, qsizetype count) {
    out.append(chars, count);
}
void append(QString& out, const char16_t* chars, qsizetype count) {
    out.append(reinterpret_cast<const QChar*>(chars), count);
}

// The units listed apart of the kept lines of a narrow text, gathered in one pass.
class KeptWideUnits {
public:
    explicit KeptWideUnits(const LogText& text) : text_(text) {}
    void keep(std::int64_t start, std::int64_t end) {
        if (text_.wideUnits().isEmpty()) {
            return;
        }
        const std::int64_t first = before(start);
        kept_.append(text_.wideUnits().sliced(first, before(end) - first));
    }
    QString take() { return std::move(kept_); }

private:
    // Units before position; positions only grow, so the text is counted once in all.
    qsizetype before(std::int64_t position) {
        const std::string_view bytes = text_.narrow();
        units_ += std::count(bytes.begin() + counted_, bytes.begin() + position, '\0');
        counted_ = position;
        return static_cast<qsizetype>(units_);
    }

    const LogText& text_;
    QString kept_;
    std::int64_t counted_ = 0;
    std::int64_t units_ = 0;
};

template <class Char, class Out, class Carry>
FilteredText filter(std::basic_string_view<Char> text, const std::vector<std::int64_t>& hitStarts,
                    const MarkRuns& marks, LineFilterMode mode, Out& kept, Carry carry) {
    FilteredText result;
    const bool filtering = mode != LineFilterMode::keepAll;
    if (filtering) {
        kept.reserve(static_cast<qsizetype>(text.size()));
    }
    MarkSink sink;
    auto hit = hitStarts.begin();
    auto mark = marks.begin();
    std::int64_t shown = 0; // display position of the next kept line
    std::int64_t lineCount = 0;
    BasicDisplayLines<Char> lines(text);
    DisplayLine line;
    while (lines.next(line)) {
        ++lineCount;
        const std::int64_t lineEnd = line.end();
        bool hasHit = false;
        while (hit != hitStarts.end() && *hit < lineEnd) {
            hasHit = hasHit || *hit >= line.start;
            ++hit;
        }
        const bool keep = mode == LineFilterMode::keepAll ||
                          (mode == LineFilterMode::keepHits && hasHit) ||
                          (mode == LineFilterMode::keepMisses && !hasHit);
        const std::int64_t contentEnd = line.start + line.contentLength;
        for (; mark != marks.end() && mark->start < lineEnd; ++mark) {
            if (keep) {
                const Clip content = clip(*mark, line.start, contentEnd);
                sink.add(shown + content.start - line.start, content.length, mark->sizeSteps);
                // The document holds the line end, whatever its length here, as one character.
                if (clip(*mark, contentEnd, lineEnd).length > 0) {
                    sink.add(shown + line.contentLength, 1, mark->sizeSteps);
                }
            }
            if (mark->end() > lineEnd) {
                break; // it goes on in the next line
            }
        }
        if (keep) {
            if (filtering) {
                append(kept, text.data() + line.start,
                       static_cast<qsizetype>(lineEnd - line.start));
                carry(line.start, lineEnd);
                // A lone CR would read as one CR LF line end with an LF that starts a later kept
                // line, joining two lines: it goes as the LF the display makes of it anyway.
                if (line.breakLength == 1 && text[static_cast<std::size_t>(contentEnd)] == '\r') {
                    kept.back() = static_cast<Char>('\n');
                }
            }
            shown += line.contentLength + (line.breakLength > 0 ? 1 : 0);
        }
    }
    result.marks = sink.take();
    result.linesBefore = lineCount;
    return result;
}

} // namespace

FilteredText LineFilter::apply(const LogText& text, const std::vector<std::int64_t>& hitStarts,
                               const MarkRuns& marks, LineFilterMode mode) {
    FilteredText result;
    if (text.isNarrow()) {
        QByteArray kept;
        KeptWideUnits wideUnits(text);
        result = filter(
            text.narrow(), hitStarts, marks, mode, kept,
            [&wideUnits](std::int64_t start, std::int64_t end) { wideUnits.keep(start, end); });
        result.text = LogText::fromNarrow(std::move(kept), wideUnits.take());
    } else {
        QString kept;
        result =
            filter(text.wide(), hitStarts, marks, mode, kept, [](std::int64_t, std::int64_t) {});
        result.text = LogText(std::move(kept));
    }
    if (mode == LineFilterMode::keepAll) {
        result.text = text; // shared, not copied
    }
    return result;
}

} // namespace ombrel
