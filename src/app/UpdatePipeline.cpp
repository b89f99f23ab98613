#include "app/UpdatePipeline.h"

#include "display/DisplayDocumentBuilder.h"
#include "display/DocumentDisposal.h"
#include "tail/MonitorFileSystem.h"
#include "tail/TailTextDecoder.h"

#include <QMetaObject>
#include <QTextDocument>
#include <QThread>

namespace ombrel {

PreparedDocument::~PreparedDocument() {
    if (document && document->thread() == QThread::currentThread()) {
        disposeDocument(document.release());
    }
}

UpdatePipeline::UpdatePipeline(const MonitorFileSystem& fileSystem, QObject* parent)
    : QObject(parent), fileSystem_(fileSystem) {
    qRegisterMetaType<ombrel::DisplayUpdate>("ombrel::DisplayUpdate");
    // Two threads: a new update need not wait while a stale one notices it is stale.
    pool_.setMaxThreadCount(2);
}

UpdatePipeline::~UpdatePipeline() {
    cancel();
    pool_.waitForDone();
}

std::optional<DisplayUpdate> UpdatePipeline::compute(const MonitorFileSystem& fileSystem,
                                                     const UpdateRequest& request,
                                                     std::uint64_t generation,
                                                     const StaleCheck& isStale) {
    DisplayUpdate update;
    update.generation = generation;
    update.snapshot = fileSystem.read(request.path, request.byteCount, request.readOptions);
    QString text = TailTextDecoder::displayText(update.snapshot);
    update.snapshot.bytes = QByteArray(); // the text is all that is kept
    if (isStale && isStale()) {
        return std::nullopt;
    }
    PassInput input{std::move(text), request.keywords, request.keywordFlags, generation};
    std::optional<PassResult> pass = KeywordPass::run(input, isStale);
    if (!pass) {
        return std::nullopt;
    }
    update.lines = pass->linesBeforeFiltering;
    update.pass = std::move(*pass);
    return update;
}

std::uint64_t UpdatePipeline::request(UpdateRequest request) {
    const std::uint64_t generation = generation_.advance();
    pool_.start([this, request = std::move(request), generation] {
        const StaleCheck isStale = generation_.staleCheck(generation);
        std::optional<DisplayUpdate> update = compute(fileSystem_, request, generation, isStale);
        if (!update || isStale()) {
            return;
        }
        update->prepared = std::make_shared<PreparedDocument>();
        update->prepared->document =
            DisplayDocumentBuilder::build(std::move(update->pass), request.font, thread());
        QMetaObject::invokeMethod(
            this,
            [this, update = std::move(*update)] {
                // A newer update may have started while this one travelled.
                if (generation_.isCurrent(update.generation)) {
                    Q_EMIT updateReady(update);
                }
            },
            Qt::QueuedConnection);
    });
    return generation;
}

} // namespace ombrel
