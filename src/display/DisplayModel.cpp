#include "display/DisplayModel.h"

#include <QThreadPool>
#include <algorithm>

namespace ombrel {

namespace {

constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kBeginningOfFrame = 0xFDD0;
constexpr char16_t kEndOfFrame = 0xFDD1;

// Any line end other than LF; the same set DisplayLines splits at.
inline bool isOtherLineEnd(char16_t c) {
    return c == u'\r' || c == kParagraphSeparator || c == kBeginningOfFrame || c == kEndOfFrame;
}

// Most texts hold LF line ends only; this test, branch-free per block so that it vectorises,
// spares them the rewrite.
bool holdsOtherLineEnds(const char16_t* chars, std::int64_t size) {
    constexpr std::int64_t block = 4096;
    for (std::int64_t from = 0; from < size; from += block) {
        const std::int64_t to = std::min(size, from + block);
        bool found = false;
        for (std::int64_t i = from; i < to; ++i) {
            const char16_t c = chars[i];
            found |=
                (c == u'\r') | (c == kParagraphSeparator) | ((c & 0xFFFEU) == kBeginningOfFrame);
        }
        if (found) {
            return true;
        }
    }
    return false;
}

} // namespace

DisplayModel::DisplayModel() {
    checkpoints_.push_back({0, 0});
}

std::shared_ptr<const DisplayModel> DisplayModel::fromPass(PassResult pass) {
    auto model = std::make_shared<DisplayModel>();
    model->text_ = std::move(pass.text);
    pass.text = QString();
    model->marks_ = std::move(pass.marks);
    model->normaliseLineEnds();
    model->indexLines();
    model->indexTallLines();
    return model;
}

void DisplayModel::normaliseLineEnds() {
    if (!holdsOtherLineEnds(reinterpret_cast<const char16_t*>(text_.constData()), text_.size())) {
        return;
    }
    // Written in place: the text only shrinks (CR LF becomes one character).
    char16_t* chars = reinterpret_cast<char16_t*>(text_.data());
    const std::int64_t size = text_.size();
    std::int64_t written = 0;
    for (std::int64_t read = 0; read < size; ++read) {
        char16_t c = chars[read];
        if (isOtherLineEnd(c)) {
            if (c == u'\r' && read + 1 < size && chars[read + 1] == u'\n') {
                ++read;
            }
            c = u'\n';
        }
        chars[written++] = c;
    }
    text_.truncate(static_cast<qsizetype>(written));
    text_.squeeze();
}

void DisplayModel::indexLines() {
    checkpoints_.clear();
    checkpoints_.push_back({0, 0});
    const QStringView text(text_);
    std::int64_t line = 0;
    std::int64_t start = 0;
    std::int64_t longest = 0;
    for (qsizetype end = text.indexOf(u'\n'); end >= 0; end = text.indexOf(u'\n', start)) {
        longest = std::max<std::int64_t>(longest, end - start);
        start = end + 1;
        ++line;
        const Checkpoint& last = checkpoints_.back();
        if (line - last.line >= checkpointLines || start - last.position > checkpointSpan) {
            checkpoints_.push_back({start, line});
        }
    }
    longestLine_ = std::max<std::int64_t>(longest, text.size() - start);
    lineCount_ = line + 1;
    checkpoints_.shrink_to_fit();
}

void DisplayModel::indexTallLines() {
    for (const MarkRun& mark : marks_) {
        maxSizeSteps_ = std::max(maxSizeSteps_, mark.sizeSteps);
        if (mark.sizeSteps == 0 || mark.length <= 0) {
            continue;
        }
        const std::int64_t first = lineOf(mark.start);
        const std::int64_t last = lineOf(std::min(mark.end() - 1, size()));
        for (std::int64_t line = first; line <= last; ++line) {
            if (!tallLines_.empty() && tallLines_.back().first == line) {
                tallLines_.back().second = std::max(tallLines_.back().second, mark.sizeSteps);
            } else {
                tallLines_.emplace_back(line, mark.sizeSteps);
            }
        }
    }
    tallLines_.shrink_to_fit();
}

std::vector<DisplayModel::Checkpoint>::const_iterator
DisplayModel::checkpointOfLine(std::int64_t line) const {
    auto after = std::upper_bound(
        checkpoints_.begin(), checkpoints_.end(), line,
        [](std::int64_t value, const Checkpoint& point) { return value < point.line; });
    return after - 1;
}

std::int64_t DisplayModel::lineStart(std::int64_t line) const {
    line = std::clamp<std::int64_t>(line, 0, lineCount_ - 1);
    const auto point = checkpointOfLine(line);
    std::int64_t position = point->position;
    const QStringView text(text_);
    for (std::int64_t at = point->line; at < line; ++at) {
        position = text.indexOf(u'\n', static_cast<qsizetype>(position)) + 1;
    }
    return position;
}

std::int64_t DisplayModel::lineLength(std::int64_t line) const {
    const std::int64_t start = lineStart(line);
    if (line + 1 >= lineCount_) {
        return size() - start;
    }
    return lineStart(line + 1) - 1 - start;
}

QStringView DisplayModel::lineText(std::int64_t line) const {
    return QStringView(text_).mid(static_cast<qsizetype>(lineStart(line)),
                                  static_cast<qsizetype>(lineLength(line)));
}

std::int64_t DisplayModel::lineOf(std::int64_t position) const {
    position = std::clamp<std::int64_t>(position, 0, size());
    auto after = std::upper_bound(
        checkpoints_.begin(), checkpoints_.end(), position,
        [](std::int64_t value, const Checkpoint& point) { return value < point.position; });
    const Checkpoint& point = *(after - 1);
    const std::int64_t lastLine = after == checkpoints_.end() ? lineCount_ - 1 : after->line - 1;
    // Every line start of the block lies within checkpointSpan characters of its checkpoint.
    const QStringView text(text_);
    std::int64_t line = point.line;
    std::int64_t start = point.position;
    while (line < lastLine) {
        const std::int64_t end = text.indexOf(u'\n', static_cast<qsizetype>(start));
        if (end < 0 || end >= position) {
            break;
        }
        start = end + 1;
        ++line;
    }
    return line;
}

MarkRuns::const_iterator DisplayModel::firstMarkEndingAfter(std::int64_t position) const {
    return std::upper_bound(
        marks_.begin(), marks_.end(), position,
        [](std::int64_t value, const MarkRun& run) { return value < run.end(); });
}

int DisplayModel::lineSizeSteps(std::int64_t line) const {
    const auto it = std::lower_bound(tallLines_.begin(), tallLines_.end(), line,
                                     [](const std::pair<std::int64_t, int>& entry,
                                        std::int64_t value) { return entry.first < value; });
    return it != tallLines_.end() && it->first == line ? it->second : 0;
}

void releaseOffThread(std::shared_ptr<const DisplayModel> model) {
    if (!model) {
        return;
    }
    // After the program's end no pool is left: the model then goes here.
    if (QThreadPool* pool = QThreadPool::globalInstance()) {
        pool->start([model = std::move(model)]() mutable { model.reset(); });
    }
}

} // namespace ombrel
