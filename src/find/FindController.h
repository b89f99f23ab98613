#pragma once

#include "find/FindWorker.h"

#include <QObject>
#include <QString>
#include <memory>

namespace ombrel {

class FindBar;
class LogView;
class RegexScanner;

/// Ties the find bar to the display: each change of the query searches from the selection on
/// a worker, the newest search only; the match found is selected and scrolled into view, the
/// matches on the screen are painted in the find colour, and each new text keeps the query and
/// is counted again. Also walks through the keyword marks. Work on the window's thread costs
/// what the screen shows, never what the text holds.
class FindController : public QObject {
    Q_OBJECT
public:
    /// Works on bar and view, which must outlive it.
    FindController(FindBar& bar, LogView& view, QObject* parent = nullptr);
    ~FindController() override;

    /// Opens the bar (Ctrl+F), keeping its query.
    void open();
    /// Goes to the next match (F3); opens the bar when there is nothing to find.
    void findNext();
    /// Goes to the previous match (Shift+F3); opens the bar when there is nothing to find.
    void findPrevious();
    /// Selects the next keyword mark after the selection (F4), wrapping to the first.
    void nextMark();
    /// Selects the keyword mark before the selection (Shift+F4), wrapping to the last.
    void previousMark();
    /// The worker (tests wait on it).
    FindWorker& worker() { return worker_; }

private:
    // typing: the query changed, so a match at the selection's start still counts.
    void search(FindMove move, bool typing = false);
    void recount();
    void show(const FindResult& result);
    void setHighlight(std::shared_ptr<const RegexPattern> pattern);
    void barClosed();

    FindBar& bar_;
    LogView& view_;
    FindWorker worker_;
    FindMove lastMove_ = FindMove::None;
    QString note_; // said after the count: that the search wrapped
    std::shared_ptr<const RegexPattern> highlighted_;
    std::shared_ptr<RegexScanner> painter_;
};

} // namespace ombrel
