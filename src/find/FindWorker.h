#pragma once

#include "display/DisplayModel.h"
#include "display/RegexPattern.h"
#include "display/UpdateGeneration.h"
#include "find/FindQuery.h"
#include "find/TextFinder.h"

#include <QObject>
#include <QThreadPool>
#include <cstdint>
#include <memory>
#include <optional>

namespace ombrel {

/// Which way a find request moves the selection.
enum class FindMove { None, Next, Previous };

/// One search the find bar asks for.
struct FindRequest {
    std::shared_ptr<const DisplayModel> model; ///< the text searched (not null)
    FindQuery query;                           ///< what is looked for
    FindMove move = FindMove::Next;            ///< None only counts
    std::int64_t from = 0;    ///< where a move searches from (the caret or the selection's end)
    std::int64_t countAt = 0; ///< the position whose rank is counted when nothing moves
};

/// A report of the worker: first the match (for a move), then the count.
struct FindResult {
    std::uint64_t generation = 0;                ///< the request it answers
    std::shared_ptr<const RegexPattern> pattern; ///< the compiled query; null when none
    QString error;                               ///< why the query is no valid expression
    bool moved = false;                          ///< the request asked for a move
    std::optional<FoundMatch> match;             ///< the match a move found
    std::optional<MatchCount> count;             ///< set in the last report of a request
};

/// Runs find requests off the window's thread, newest only: a new request makes every earlier
/// one stale, its work stops at the next check and its reports are dropped.
class FindWorker : public QObject {
    Q_OBJECT
public:
    /// An idle worker.
    explicit FindWorker(QObject* parent = nullptr);
    /// Waits for work in flight, whose reports are then dropped.
    ~FindWorker() override;

    /// Starts request and returns its number.
    std::uint64_t start(FindRequest request);
    /// Drops the request in flight.
    void cancel() { generation_.advance(); }
    /// Waits until no work runs and its reports have been handed over (tests); false on time-out.
    bool waitForIdle(int timeoutMs);

Q_SIGNALS:
    /// A report of the newest request (on the worker's owning thread).
    void resultReady(const ombrel::FindResult& result);

private:
    void deliver(FindResult result);

    UpdateGeneration generation_;
    QThreadPool pool_;
};

} // namespace ombrel
