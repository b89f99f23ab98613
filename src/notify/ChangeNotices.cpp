#include "notify/ChangeNotices.h"

#include "display/DisplayModel.h"
#include "notify/NoticeText.h"

#include <QHash>
#include <algorithm>

namespace ombrel {

namespace {

// The marked lines of now beyond those of before, counting equal lines: for each hash, the
// newest copies in excess of before's count. In text order.
std::vector<NamedLine> newLines(const MarkedLines& before, const MarkedLines& now) {
    QHash<std::uint64_t, std::int64_t> excess;
    for (const NamedLine& line : now.marked()) {
        ++excess[line.hash];
    }
    for (const NamedLine& line : before.marked()) {
        --excess[line.hash];
    }
    std::vector<NamedLine> found;
    for (auto it = now.marked().rbegin(); it != now.marked().rend(); ++it) {
        std::int64_t& left = excess[it->hash];
        if (left > 0) {
            --left;
            found.push_back(*it);
        }
    }
    std::reverse(found.begin(), found.end());
    return found;
}

} // namespace

std::optional<Notice> ChangeNotices::shown(const ShownUpdate& update, NotifyChoice choice) {
    const bool first = !marked_ || update.generation != generation_;
    const std::shared_ptr<const MarkedLines> before =
        std::exchange(marked_, update.marked ? update.marked : std::make_shared<MarkedLines>());
    generation_ = update.generation;
    model_ = update.model;
    if (first || !update.change || choice == NotifyChoice::Off) {
        return std::nullopt;
    }
    const std::vector<NamedLine> found = newLines(*before, *marked_);
    if (!found.empty()) {
        const auto named = std::vector<NamedLine>(
            found.end() - std::min<std::ptrdiff_t>(NoticeText::linesShown, found.size()),
            found.end());
        return noticeOf(*update.model, named, static_cast<std::int64_t>(found.size()));
    }
    if (choice != NotifyChoice::EveryChange) {
        return std::nullopt;
    }
    if (marked_->newest()) {
        return noticeOf(*update.model, {*marked_->newest()}, 1);
    }
    return Notice{}; // the text is empty now: a change all the same
}

Notice ChangeNotices::noticeOf(const DisplayModel& model, const std::vector<NamedLine>& named,
                               std::int64_t found) const {
    Notice notice;
    for (const NamedLine& line : named) {
        // Enough for the cut of the longest shown line, whatever its characters: never more.
        notice.lines << model.mid(
            model.lineStart(line.line),
            std::min(model.lineLength(line.line), std::int64_t{2 * NoticeText::lineLimit + 2}));
    }
    notice.moreLines = found - static_cast<std::int64_t>(named.size());
    notice.target = NoticeTarget{model_, named.front()};
    return notice;
}

std::optional<std::int64_t> ChangeNotices::locate(const NoticeTarget& target) const {
    if (!marked_) {
        return std::nullopt;
    }
    const std::shared_ptr<const DisplayModel> shown = model_.lock();
    if (shown && target.model.lock() == shown) {
        return target.line.line;
    }
    return marked_->find(target.line.hash);
}

} // namespace ombrel
