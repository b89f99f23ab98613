#include "display/DisplayModel.h"

#include "display/DisplayLines.h"

#include <QThreadPool>
#include <algorithm>
#include <cstring>

namespace ombrel {

namespace {

// Rewrites every line end as one '\n', in place: the text only shrinks (CR LF becomes one
// character). Returns the new size.
template <class Char> std::int64_t normalise(Char* chars, std::int64_t size) {
    std::int64_t written = 0;
    for (std::int64_t read = 0; read < size; ++read) {
        Char c = chars[read];
        if (lineEnds::endsLine(c)) {
            if (c == '\r' && read + 1 < size && chars[read + 1] == '\n') {
                ++read;
            }
            c = '\n';
        }
        chars[written++] = c;
    }
    return written;
}

} // namespace

DisplayModel::DisplayModel() {
    checkpoints_.push_back({0, 0});
}

std::shared_ptr<const DisplayModel> DisplayModel::fromPass(PassResult pass) {
    auto model = std::make_shared<DisplayModel>();
    model->text_ = std::move(pass.text);
    pass.text = LogText();
    model->marks_ = std::move(pass.marks);
    model->normaliseLineEnds();
    model->indexLines();
    model->indexTallLines();
    return model;
}

void DisplayModel::normaliseLineEnds() {
    if (!text_.visit([](auto chars) { return lineEnds::holdsOthersThanLf(chars); })) {
        return;
    }
    text_.rewrite([](auto* chars, std::int64_t size) { return normalise(chars, size); });
}

std::int64_t DisplayModel::nextLineFeed(std::int64_t from) const {
    if (text_.isNarrow()) {
        const std::string_view chars = text_.narrow();
        const void* found =
            std::memchr(chars.data() + from, '\n', chars.size() - static_cast<std::size_t>(from));
        return found ? static_cast<const char*>(found) - chars.data() : -1;
    }
    const std::u16string_view chars = text_.wide();
    return QStringView(chars.data(), static_cast<qsizetype>(chars.size()))
        .indexOf(u'\n', static_cast<qsizetype>(from));
}

void DisplayModel::indexLines() {
    checkpoints_.clear();
    checkpoints_.push_back({0, 0});
    std::int64_t line = 0;
    std::int64_t start = 0;
    std::int64_t longest = 0;
    for (std::int64_t end = nextLineFeed(0); end >= 0; end = nextLineFeed(start)) {
        longest = std::max<std::int64_t>(longest, end - start);
        start = end + 1;
        ++line;
        const Checkpoint& last = checkpoints_.back();
        if (line - last.line >= checkpointLines || start - last.position > checkpointSpan) {
            checkpoints_.push_back({start, line});
        }
    }
    longestLine_ = std::max<std::int64_t>(longest, size() - start);
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
    for (std::int64_t at = point->line; at < line; ++at) {
        position = nextLineFeed(position) + 1;
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

QString DisplayModel::lineText(std::int64_t line) const {
    return text_.mid(lineStart(line), lineLength(line));
}

std::int64_t DisplayModel::lineOf(std::int64_t position) const {
    position = std::clamp<std::int64_t>(position, 0, size());
    auto after = std::upper_bound(
        checkpoints_.begin(), checkpoints_.end(), position,
        [](std::int64_t value, const Checkpoint& point) { return value < point.position; });
    const Checkpoint& point = *(after - 1);
    const std::int64_t lastLine = after == checkpoints_.end() ? lineCount_ - 1 : after->line - 1;
    // Every line start of the block lies within checkpointSpan characters of its checkpoint.
    std::int64_t line = point.line;
    std::int64_t start = point.position;
    while (line < lastLine) {
        const std::int64_t end = nextLineFeed(start);
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
