#pragma once

#include "tail/FileChangeDetector.h"
#include "tail/FileStatus.h"
#include "tail/MonitorFileSystem.h"
#include "tail/TailSnapshot.h"

#include <QString>
#include <cstdint>

namespace ombrel {

/// Which event log a Start watches, from the "Application" and "System" boxes.
enum class EventLogChoice { None, Application, System };

/// The control texts a Start reads.
struct StartRequest {
    QString sourceText;   ///< the file-name box
    QString intervalText; ///< "Secs between Checks", converted like atoi
    QString countText;    ///< "Bytes to Display" / "Entries to Display", converted like atoi
    EventLogChoice eventLog = EventLogChoice::None; ///< a ticked event-log box
};

/// What a Start did.
enum class StartOutcome {
    BlankName,        ///< empty or blank-led file name: running and eventLogMode unchanged
    MissingFile,      ///< no file of that name: running and eventLogMode unchanged
    WatchingFile,     ///< watching filePath: add sourceText to the recent files, then read it
    WatchingNotAFile, ///< watching a folder or device, which no read can open: read it (the
                      ///< read tells why), but keep it out of the recent files
    WatchingEventLog  ///< watching eventLog(): start its watch; the first read comes from there
};

/// What a timer tick asks of the window.
enum class TickAction {
    None,          ///< nothing
    ReadAndNotify, ///< the file changed: read it, recordRead(), show it; animate, beep, flash
    StopAnimation, ///< stop the tray animation
    RetryRead      ///< the last read failed: stop the animation and read again quietly; show
                   ///< and announce the result only if the read succeeds
};

/// Fewest and most seconds between checks.
constexpr std::int32_t shortestCheckInterval = 1;
constexpr std::int32_t longestCheckInterval = 600;
/// seconds brought into shortestCheckInterval to longestCheckInterval.
std::int32_t boundedCheckInterval(std::int32_t seconds);
/// A count of bytes (entries) to display; a negative one reads as 0.
std::int32_t boundedDisplayCount(std::int32_t count);

/// Values before the first Start (start-up settings and command line).
struct MonitorInitialValues {
    QString sourceText;             ///< file named on the command line
    std::int32_t checkInterval = 5; ///< seconds between checks
    std::int32_t byteCount = 1000;  ///< bytes (entries) to display
};

/// The start/pause state of watching a file or an event log, its check rhythm and its change
/// detection, free of widgets: the window shows the state and forwards commands and its
/// one-second timer ticks (restarted by each Start).
class MonitorControl {
public:
    /// fileSystem must outlive the control.
    explicit MonitorControl(const MonitorFileSystem& fileSystem,
                            const MonitorInitialValues& initial = {});

    /// Start: re-reads the three texts (the interval and count bounded), then starts on the
    /// event log or on an existing file. The caller has restarted the timer and ended any
    /// earlier event-log watch.
    StartOutcome start(const StartRequest& request);
    /// Pause: running and animating cleared; the source and title stay.
    void pause();
    /// A file picked by Browse becomes the source's name (what Launch Editor opens); the
    /// watch itself changes only at the next Start.
    void chooseSource(const QString& path) { sourceText_ = path; }
    /// Starts watching a dropped file at once, keeping the check rhythm; the caller then ends
    /// any event-log watch, unticks the event-log boxes and reads the file.
    void watchDroppedFile(const QString& path);
    /// One timer tick: in file mode every reloadValue + 1 ticks (checkInterval seconds) a check
    /// of the file's status.
    TickAction tick();
    /// Reads the watched file's window (byteCount bytes, head or tail); changes nothing, so
    /// it may run on another thread.
    TailSnapshot readTail() const;
    /// Takes in a read of the watched file on the window's thread: its status becomes lastStat
    /// when the file could be opened. Unless a newer read follows, it is also what a check
    /// compares with, and a failed read is retried at each check.
    void recordRead(const TailSnapshot& snapshot, bool newerReadFollows = false);
    /// An event-log change was announced: the tray animation runs until a later tick.
    void noteChangeAnnounced() { animating_ = true; }

    /// While set, reads take the first byteCount bytes instead of the last.
    void setHeadMode(bool head) { headMode_ = head; }
    /// Reads take the first bytes.
    bool headMode() const { return headMode_; }

    /// Started and not paused.
    bool running() const { return running_; }
    /// The running source is an event log.
    bool eventLogMode() const { return eventLogMode_; }
    /// The event log of the last event-log Start.
    EventLogChoice eventLog() const { return eventLog_; }
    /// File-name text of the last Start (or drop), also used in event-log mode.
    const QString& sourceText() const { return sourceText_; }
    /// What the readers use; set when a Start succeeds.
    const QString& filePath() const { return filePath_; }
    /// Seconds between checks, as read at the last Start.
    std::int32_t checkInterval() const { return checkInterval_; }
    /// Bytes (entries) to display, as read at the last Start; never negative.
    std::int32_t byteCount() const { return byteCount_; }
    /// Ticks between checks, less one.
    std::int32_t reloadValue() const { return reloadValue_; }
    /// Ticks left before the next check.
    std::int32_t countdown() const { return countdown_; }
    /// Size and time of the last read that opened the file (zero before any).
    const FileStatus& lastStat() const { return lastStat_; }
    /// A change started the tray animation and no later tick, Start or Pause stopped it.
    bool animating() const { return animating_; }

private:
    void watchFrom(const QString& path);

    const MonitorFileSystem& fileSystem_;
    FileChangeDetector detector_;
    bool running_ = false;
    bool eventLogMode_ = false;
    EventLogChoice eventLog_ = EventLogChoice::None;
    QString sourceText_;
    QString filePath_;
    std::int32_t checkInterval_;
    std::int32_t byteCount_;
    std::int32_t reloadValue_;
    std::int32_t countdown_;
    FileStatus lastStat_;
    bool animating_ = false;
    bool headMode_ = false;
    bool readFailed_ = false;
};

} // namespace ombrel
