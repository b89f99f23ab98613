#pragma once

#include "notify/MarkedLines.h"
#include "notify/NotifyChoice.h"

#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

namespace ombrel {

class DisplayModel;

/// A line a notification names, to find it again on the display.
struct NoticeTarget {
    std::weak_ptr<const DisplayModel> model; ///< the text it was named in
    NamedLine line;                          ///< its number there, and its hash
};

/// What one change tells the user.
struct Notice {
    QStringList lines;          ///< the lines named, in text order, each cut near its shown length
    std::int64_t moreLines = 0; ///< new marked lines found besides those named
    std::optional<NoticeTarget> target; ///< the first line named, if any
};

/// An update the display has just shown.
struct ShownUpdate {
    std::uint64_t generation = 0; ///< the update session: the first update of one tells nothing
    bool change = false;          ///< it follows a change of the source that the window announced
    std::shared_ptr<const DisplayModel> model; ///< the text shown; never null
    std::shared_ptr<const MarkedLines> marked; ///< its marked lines (null: none)
};

/// Decides what each shown update tells: the marked lines that the update before it did not
/// show (a line shown before counts again only for copies beyond those shown before), or with
/// "On every change" the newest line when there is none. Runs on the window's thread.
class ChangeNotices {
public:
    /// Takes the update now shown; the notice it gives under choice, if any.
    std::optional<Notice> shown(const ShownUpdate& update, NotifyChoice choice);
    /// The line of the text shown last that target names: its own line while its text is
    /// shown, else the newest line with its hash; nothing once no such line is left.
    std::optional<std::int64_t> locate(const NoticeTarget& target) const;

private:
    Notice noticeOf(const DisplayModel& model, const std::vector<NamedLine>& named,
                    std::int64_t found) const;

    std::uint64_t generation_ = 0;
    std::shared_ptr<const MarkedLines> marked_; // of the update shown last; null before one
    std::weak_ptr<const DisplayModel> model_;
};

} // namespace ombrel
