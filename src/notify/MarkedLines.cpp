#include "notify/MarkedLines.h"

#include "display/DisplayModel.h"

#include <QHash>
#include <algorithm>

namespace ombrel {

std::uint64_t MarkedLines::lineHash(const DisplayModel& model, std::int64_t line) {
    const std::int64_t length = model.lineLength(line);
    const QString head = model.mid(model.lineStart(line), std::min(length, hashedChars));
    return qHash(head, static_cast<std::size_t>(length));
}

MarkedLines MarkedLines::of(const DisplayModel& model) {
    MarkedLines lines;
    const MarkRuns& marks = model.marks();
    // From the newest mark back, one line at a time: the marks of a line are skipped at once,
    // so a line with a million marks costs one step.
    auto end = marks.end();
    while (end != marks.begin() && lines.marked_.size() < kept) {
        const std::int64_t line = model.lineOf(std::prev(end)->start);
        lines.marked_.push_back({line, lineHash(model, line)});
        const std::int64_t lineStart = model.lineStart(line);
        end =
            std::lower_bound(marks.begin(), end, lineStart,
                             [](const MarkRun& mark, std::int64_t at) { return mark.start < at; });
    }
    std::reverse(lines.marked_.begin(), lines.marked_.end());
    // A log ends in a line break, so its last line is mostly empty; a text of nothing but
    // empty lines is not searched through.
    const std::int64_t last = model.lineCount() - 1;
    for (std::int64_t line = last; line >= 0 && line > last - 1000; --line) {
        if (model.lineLength(line) > 0) {
            lines.newest_ = NamedLine{line, lineHash(model, line)};
            break;
        }
    }
    return lines;
}

std::optional<std::int64_t> MarkedLines::find(std::uint64_t hash) const {
    // The newest line is never older than a marked one.
    if (newest_ && newest_->hash == hash) {
        return newest_->line;
    }
    const auto found = std::find_if(marked_.rbegin(), marked_.rend(),
                                    [hash](const NamedLine& line) { return line.hash == hash; });
    return found == marked_.rend() ? std::nullopt : std::optional(found->line);
}

} // namespace ombrel
