#pragma once

#include "display/KeywordFlags.h"
#include "display/KeywordPass.h"
#include "display/UpdateGeneration.h"
#include "tail/FileTailReader.h"
#include "tail/TailSnapshot.h"

#include <QFont>
#include <QObject>
#include <QStringList>
#include <QTextDocument>
#include <QThreadPool>
#include <cstdint>
#include <memory>

namespace ombrel {

class MonitorFileSystem;

/// What one display update reads and how it treats keywords.
struct UpdateRequest {
    QString path;                ///< the watched file
    std::int64_t byteCount = 0;  ///< bytes to read; negative reads nothing
    TailReadOptions readOptions; ///< head or tail
    QStringList keywords;        ///< a copy of the keyword list
    KeywordFlags keywordFlags;   ///< marking and filtering
    QFont font;                  ///< the display's font, for building its next document
};

/// A display document built off the window's thread; owned by whoever installs it. A document
/// left uninstalled is freed on a worker, since freeing a large one takes long.
struct PreparedDocument {
    std::unique_ptr<QTextDocument> document;
    ~PreparedDocument();
};

/// A finished update, ready to be put on the display in one batch.
struct DisplayUpdate {
    std::uint64_t generation = 0; ///< the update's number
    TailSnapshot snapshot;        ///< the read's status (its bytes are not kept)
    PassResult pass; ///< the text to show and its marks, until the document is built from them
    std::int64_t lines = 1;                     ///< lines of the text before filtering
    std::shared_ptr<PreparedDocument> prepared; ///< the text and marks as a finished document
};

/// Reads, decodes, marks, filters and builds the display's next document off the window's
/// thread, and hands the newest finished update back on the thread that owns the pipeline;
/// results of older updates are dropped.
class UpdatePipeline : public QObject {
    Q_OBJECT
public:
    /// fileSystem must outlive the pipeline.
    explicit UpdatePipeline(const MonitorFileSystem& fileSystem, QObject* parent = nullptr);
    /// Waits for work in flight, whose results are then dropped.
    ~UpdatePipeline() override;

    /// Starts an update; any update still in flight becomes stale. Returns its number.
    std::uint64_t request(UpdateRequest request);
    /// Makes every update in flight stale.
    void cancel() { generation_.advance(); }
    /// The number of the newest update.
    std::uint64_t newest() const { return generation_.newest(); }
    /// The update numbers, to tell the newest result from older ones.
    const UpdateGeneration& generations() const { return generation_; }
    /// Waits until no work runs (for tests and measurements); false on time-out.
    bool waitForIdle(int timeoutMs) { return pool_.waitForDone(timeoutMs); }

    /// The work of one update, on the calling thread; nothing when it became stale.
    static std::optional<DisplayUpdate> compute(const MonitorFileSystem& fileSystem,
                                                const UpdateRequest& request,
                                                std::uint64_t generation,
                                                const StaleCheck& isStale);

Q_SIGNALS:
    /// The newest update is ready (emitted on the pipeline's thread).
    void updateReady(const ombrel::DisplayUpdate& update);

private:
    const MonitorFileSystem& fileSystem_;
    UpdateGeneration generation_;
    QThreadPool pool_;
};

} // namespace ombrel
