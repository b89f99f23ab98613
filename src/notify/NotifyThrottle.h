#pragma once

#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace ombrel {

/// Keeps a burst of changes from becoming a burst of notifications: at most one notification
/// per source each period. A change inside a source's period is held and counted; when the
/// period ends the held changes go out as one notification, which starts the next period.
/// Times are milliseconds of any steady clock.
class NotifyThrottle {
public:
    /// Changes held back until the end of a source's period.
    struct Held {
        QString source;           ///< whose changes
        std::int64_t changes = 0; ///< how many
    };

    /// A throttle allowing one notification per source every periodMs.
    explicit NotifyThrottle(std::int64_t periodMs) : periodMs_(periodMs) {}

    /// A change of source at nowMs. Sent now (it starts a period): the changes held before it
    /// that its notification tells of too, if the period ended before they were taken. Held for
    /// the end of the running period: nothing.
    std::optional<std::int64_t> offer(const QString& source, std::int64_t nowMs);
    /// When the earliest held changes are due, if any are held.
    std::optional<std::int64_t> nextDue() const;
    /// Takes the held changes due at nowMs; each source's notification starts a new period.
    std::vector<Held> takeDue(std::int64_t nowMs);

private:
    struct Source {
        std::int64_t periodStart = 0;
        std::int64_t held = 0;
    };

    std::int64_t periodMs_;
    std::map<QString, Source> sources_;
};

} // namespace ombrel
