#pragma once

#include "display/KeywordPass.h"
#include "display/LogText.h"
#include "display/MarkRun.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <vector>

namespace ombrel {

/// What the display shows after one update, built once off the window's thread and never
/// changed afterwards: the text with every line end as one '\n', where each line starts, and
/// the keyword marks in positions of that text. Finding a line or the line of a position costs
/// a few thousand characters at most, whatever the size of the text, so the window only ever
/// pays for the lines it shows.
class DisplayModel {
public:
    /// An empty text: one empty line, no marks.
    DisplayModel();

    /// The model of a pass result (text after filtering, marks in display positions). The
    /// text's line ends become '\n' in place, so pass the result by move to spare a copy.
    static std::shared_ptr<const DisplayModel> fromPass(PassResult pass);

    /// The whole text, lines separated by '\n'. A copy when the text is held narrow: ask for lines
    /// or parts (mid, lineText) where they do.
    QString text() const { return text_.toString(); }
    /// The text as it is held.
    const LogText& content() const { return text_; }
    /// The characters from start (clamped to the text), at most length of them.
    QString mid(std::int64_t start, std::int64_t length) const { return text_.mid(start, length); }
    /// The character at position (0 <= position < size()).
    QChar at(std::int64_t position) const { return text_.at(position); }
    /// Characters of the text.
    std::int64_t size() const { return text_.size(); }
    /// True when position lies between the two halves (code units) of a character above U+FFFF.
    bool splitsPair(std::int64_t position) const {
        return position > 0 && position < size() && at(position).isLowSurrogate() &&
               at(position - 1).isHighSurrogate();
    }
    /// Lines of the text; an empty text has one.
    std::int64_t lineCount() const { return lineCount_; }
    /// Position of the first character of line (0 <= line < lineCount()).
    std::int64_t lineStart(std::int64_t line) const;
    /// Characters of line, without its line end.
    std::int64_t lineLength(std::int64_t line) const;
    /// The line that holds position (0 <= position <= size()); a line end belongs to its line.
    std::int64_t lineOf(std::int64_t position) const;
    /// The characters of line, without its line end.
    QString lineText(std::int64_t line) const;
    /// Characters of the longest line.
    std::int64_t longestLine() const { return longestLine_; }

    /// The keyword marks, sorted, not overlapping.
    const MarkRuns& marks() const { return marks_; }
    /// The first mark that ends after position (marks().end() when none).
    MarkRuns::const_iterator firstMarkEndingAfter(std::int64_t position) const;
    /// The largest size step of the marks in line (its line end included); 0 when none.
    int lineSizeSteps(std::int64_t line) const;
    /// The largest size step of any mark.
    int maxSizeSteps() const { return maxSizeSteps_; }

private:
    // A line start remembered every few lines; the lines between two are found by scanning,
    // which never runs further than checkpointSpan characters.
    struct Checkpoint {
        std::int64_t position = 0;
        std::int64_t line = 0;
    };
    static constexpr std::int64_t checkpointLines = 32;
    static constexpr std::int64_t checkpointSpan = 4096;

    std::int64_t nextLineFeed(std::int64_t from) const;
    void normaliseLineEnds();
    void indexLines();
    void indexTallLines();
    std::vector<Checkpoint>::const_iterator checkpointOfLine(std::int64_t line) const;

    LogText text_;
    std::int64_t lineCount_ = 1;
    std::int64_t longestLine_ = 0;
    std::vector<Checkpoint> checkpoints_;
    MarkRuns marks_;
    // Lines holding marks grown at least one step, ascending, with their largest step.
    std::vector<std::pair<std::int64_t, int>> tallLines_;
    int maxSizeSteps_ = 0;
};

/// Lets go of model on a worker thread, so freeing a large text never holds up the caller.
void releaseOffThread(std::shared_ptr<const DisplayModel> model);

} // namespace ombrel
