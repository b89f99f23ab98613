#pragma once

#include "display/DisplayModel.h"
#include "display/KeywordFlags.h"
#include "display/UpdateGeneration.h"
#include "notify/MarkedLines.h"
#include "tail/FileTailReader.h"
#include "tail/TailSnapshot.h"

#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <cstdint>
#include <memory>
#include <optional>

namespace ombrel {

class MonitorFileSystem;

/// What one display update reads and how it treats keywords.
struct UpdateRequest {
    QString path;                ///< the watched file
    std::int64_t byteCount = 0;  ///< bytes to read; negative reads nothing
    TailReadOptions readOptions; ///< head or tail
    QStringList keywords;        ///< a copy of the keyword list
    KeywordFlags keywordFlags;   ///< marking and filtering
    bool retry = false; ///< a quiet second try of a read that failed: shown only if it succeeds
    std::optional<QString> text; ///< a ready-made text (an event log's) to show instead of a read
    bool change = false;         ///< the source changed, and the window announced it: it is told
};

/// A finished update, ready to be put on the display in one batch.
struct DisplayUpdate {
    std::uint64_t generation = 0;              ///< the session the update was asked in (see cancel)
    bool retry = false;                        ///< copied from the request
    TailSnapshot snapshot;                     ///< the read's status (its bytes are not kept)
    std::int64_t lines = 1;                    ///< lines of the text before filtering
    std::shared_ptr<const DisplayModel> model; ///< what the display shows; never null
    bool fileRead = true; ///< false when the request brought its text: snapshot means nothing
    bool change = false;  ///< copied from the request (or from a request it replaced)
    std::shared_ptr<const MarkedLines> marked; ///< the model's newest marked lines; never null
    QStringList keywordProblems; ///< keyword expressions that mark less than they match, and why
};

/// Reads, decodes, marks, filters and builds the display's next model off the window's
/// thread, and hands each finished update back, in order, on the thread that owns the pipeline.
/// One update runs at a time and at most one waits behind it, so a source that changes faster
/// than an update takes is shown at most one update late; only cancel drops work.
class UpdatePipeline : public QObject {
    Q_OBJECT
public:
    /// fileSystem must outlive the pipeline.
    explicit UpdatePipeline(const MonitorFileSystem& fileSystem, QObject* parent = nullptr);
    /// Waits for work in flight, whose results are then dropped.
    ~UpdatePipeline() override;

    /// Starts an update, or, while one runs, makes it the one that follows (replacing any
    /// request still waiting: the follow-up reads the source as it is when it starts, and tells
    /// the change the one it replaced was to tell).
    void request(UpdateRequest request);
    /// Drops the update in flight and the one waiting: a new session begins.
    void cancel();
    /// An update runs or waits.
    bool busy() const { return running_ || waiting_.has_value(); }
    /// The session numbers, to tell results of the current session from older ones.
    const UpdateGeneration& generations() const { return generation_; }
    /// Waits until no work runs and the last result has been handed over (tests and
    /// measurements); false on time-out.
    bool waitForIdle(int timeoutMs);

    /// The work of one update, on the calling thread; nothing when it became stale. A source
    /// too large to hold gives an update with an empty text instead of an exception.
    static std::optional<DisplayUpdate> compute(const MonitorFileSystem& fileSystem,
                                                const UpdateRequest& request,
                                                std::uint64_t generation,
                                                const StaleCheck& isStale);

Q_SIGNALS:
    /// The newest update is ready (emitted on the pipeline's thread).
    void updateReady(const ombrel::DisplayUpdate& update);

private:
    void launch(UpdateRequest request);
    void finish(std::uint64_t generation, std::optional<DisplayUpdate> update);

    const MonitorFileSystem& fileSystem_;
    UpdateGeneration generation_;
    bool running_ = false;
    std::optional<UpdateRequest> waiting_;
    QThreadPool pool_;
};

} // namespace ombrel
