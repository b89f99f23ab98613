#include "find/FindController.h"

#include "display/LogView.h"
#include "display/RegexScanner.h"
#include "find/FindBar.h"
#include "find/MarkWalk.h"

#include <QLocale>

namespace ombrel {

namespace {
// Painting matches the screen's lines on the window's thread: a small limit keeps a
// backtracking disaster from holding up a repaint.
constexpr std::uint32_t paintMatchLimit = 20'000;
} // namespace

FindController::FindController(FindBar& bar, LogView& view, QObject* parent)
    : QObject(parent), bar_(bar), view_(view) {
    connect(&bar_, &FindBar::queryChanged, this, [this] { search(FindMove::Next, true); });
    connect(&bar_, &FindBar::nextRequested, this, &FindController::findNext);
    connect(&bar_, &FindBar::previousRequested, this, &FindController::findPrevious);
    connect(&bar_, &FindBar::closed, this, &FindController::barClosed);
    connect(&view_, &LogView::modelChanged, this, &FindController::recount);
    connect(&worker_, &FindWorker::resultReady, this, &FindController::show);
}

FindController::~FindController() = default;

void FindController::open() {
    bar_.open();
    if (!bar_.query().text.isEmpty()) {
        recount();
        setHighlight(highlighted_);
    }
}

void FindController::findNext() {
    if (bar_.query().text.isEmpty()) {
        open();
        return;
    }
    search(FindMove::Next);
}

void FindController::findPrevious() {
    if (bar_.query().text.isEmpty()) {
        open();
        return;
    }
    search(FindMove::Previous);
}

void FindController::search(FindMove move, bool typing) {
    const TextSelection& selection = view_.selection();
    FindRequest request;
    request.model = view_.model();
    request.query = bar_.query();
    request.move = move;
    // Typing keeps the match under way as long as it still matches; Next goes past it.
    request.from = move == FindMove::Previous || typing ? selection.start() : selection.end();
    request.countAt = selection.start();
    lastMove_ = move;
    note_.clear();
    if (request.query.text.isEmpty()) {
        worker_.cancel();
        setHighlight(nullptr);
        bar_.setCountText(QString());
        return;
    }
    bar_.setCountText(QStringLiteral("Searching\u2026"));
    worker_.start(std::move(request));
}

void FindController::recount() {
    if (bar_.isHidden() || bar_.query().text.isEmpty()) {
        return;
    }
    note_.clear(); // a new text: nothing was wrapped to find what is selected
    const TextSelection& selection = view_.selection();
    FindRequest request;
    request.model = view_.model();
    request.query = bar_.query();
    request.move = FindMove::None;
    request.countAt = selection.isEmpty() ? -1 : selection.start();
    worker_.start(std::move(request));
}

void FindController::show(const FindResult& result) {
    if (!result.error.isEmpty()) {
        setHighlight(nullptr);
        bar_.setCountText(result.error);
        return;
    }
    setHighlight(result.pattern);
    // The first report of a move holds its match, the last one again: select it once.
    if (result.moved && result.match && !result.count) {
        const FoundMatch& match = *result.match;
        view_.setSelection(match.start, match.end);
        if (match.wrapped) {
            note_ = lastMove_ == FindMove::Previous ? QStringLiteral("Wrapped to the bottom")
                                                    : QStringLiteral("Wrapped to the top");
        }
    }
    if (!result.count) {
        return; // the count follows
    }
    const MatchCount& count = *result.count;
    const QLocale locale;
    QString text;
    if (count.total == 0) {
        text = QStringLiteral("No matches");
    } else if (count.atPosition) {
        text = QStringLiteral("%1 of %2")
                   .arg(locale.toString(count.before + 1), locale.toString(count.total));
    } else {
        text = count.total == 1 ? QStringLiteral("1 match")
                                : QStringLiteral("%1 matches").arg(locale.toString(count.total));
    }
    if (count.limitedLines > 0) {
        text += QStringLiteral(" (%1 lines too long to search)")
                    .arg(locale.toString(count.limitedLines));
    }
    if (!note_.isEmpty()) {
        text = note_ + QStringLiteral(": ") + text;
    }
    bar_.setCountText(text);
}

void FindController::setHighlight(std::shared_ptr<const RegexPattern> pattern) {
    if (pattern == highlighted_ && (pattern == nullptr || painter_)) {
        return;
    }
    highlighted_ = std::move(pattern);
    if (!highlighted_) {
        painter_.reset();
        view_.setMatchFinder(nullptr);
        return;
    }
    painter_ = std::make_shared<RegexScanner>(highlighted_, paintMatchLimit);
    view_.setMatchFinder([scanner = painter_](const DisplayModel& model, std::int64_t from,
                                              std::int64_t to, auto& found) {
        scanner->scanPiece(model.content(), from, to,
                           [&found](std::int64_t start, std::int64_t end) {
                               found.emplace_back(start, end);
                               return true;
                           });
    });
}

void FindController::barClosed() {
    worker_.cancel();
    highlighted_.reset();
    painter_.reset();
    view_.setMatchFinder(nullptr);
    view_.setFocus();
}

void FindController::nextMark() {
    if (const auto mark = MarkWalk::next(*view_.model(), view_.selection().end())) {
        view_.setSelection(mark->start, mark->end);
    }
}

void FindController::previousMark() {
    if (const auto mark = MarkWalk::previous(*view_.model(), view_.selection().start())) {
        view_.setSelection(mark->start, mark->end);
    }
}

} // namespace ombrel
