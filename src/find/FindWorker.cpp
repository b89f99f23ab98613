#include "find/FindWorker.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>

namespace ombrel {

FindWorker::FindWorker(QObject* parent) : QObject(parent) {
    qRegisterMetaType<ombrel::FindResult>("ombrel::FindResult");
    // Two threads: a new request need not wait while a stale one notices it.
    pool_.setMaxThreadCount(2);
}

FindWorker::~FindWorker() {
    cancel();
    pool_.waitForDone();
}

std::uint64_t FindWorker::start(FindRequest request) {
    const std::uint64_t generation = generation_.advance();
    pool_.start([this, request = std::move(request), generation] {
        const StaleCheck isStale = generation_.staleCheck(generation);
        FindResult result;
        result.generation = generation;
        result.moved = request.move != FindMove::None;
        const LogText& text = request.model->content();
        try {
            if (!request.query.text.isEmpty()) {
                RegexError error;
                result.pattern =
                    RegexPattern::compile(request.query.text, request.query.options(), &error);
                if (!result.pattern) {
                    result.error = QStringLiteral("%1 at character %2")
                                       .arg(error.message)
                                       .arg(error.offset + 1);
                }
            }
            if (!result.pattern) {
                result.count = MatchCount{};
                deliver(std::move(result));
                return;
            }
            RegexScanner scanner(result.pattern);
            std::int64_t rankAt = request.countAt;
            if (result.moved) {
                const auto found = request.move == FindMove::Next
                                       ? TextFinder::next(scanner, text, request.from, isStale)
                                       : TextFinder::previous(scanner, text, request.from, isStale);
                if (!found) {
                    return;
                }
                result.match = *found;
                rankAt = *found ? (*found)->start : -1;
                // The match shows before the count, which may take a while longer.
                deliver(result);
            }
            result.count = TextFinder::count(scanner, text, rankAt, isStale);
            if (result.count) {
                deliver(std::move(result));
            }
        } catch (const std::bad_alloc&) {
            result.error = QStringLiteral("Not enough memory");
            result.count = MatchCount{};
            deliver(std::move(result));
        }
    });
    return generation;
}

void FindWorker::deliver(FindResult result) {
    QMetaObject::invokeMethod(
        this,
        [this, result = std::move(result)] {
            if (generation_.isCurrent(result.generation)) {
                Q_EMIT resultReady(result);
            }
        },
        Qt::QueuedConnection);
}

bool FindWorker::waitForIdle(int timeoutMs) {
    const bool done = pool_.waitForDone(timeoutMs);
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    return done;
}

} // namespace ombrel
