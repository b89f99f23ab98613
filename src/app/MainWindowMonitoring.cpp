// The main window's monitoring: Start and Pause, the check timer, and putting each finished
// update on the display.
#include "app/CommandId.h"
#include "app/CompactPath.h"
#include "app/MainWindow.h"
#include "app/StatusBar.h"
#include "display/LogView.h"
#include "find/FindBar.h"
#include "tail/TailStatusLine.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

namespace ombrel {

void MainWindow::startMonitoring() {
    checkTimer_.start(); // a Start restarts the one-second rhythm
    windowFont_.applyAtStart(*display_, font());
    printButton_->setEnabled(true);
    StartRequest request{fileNameBox_->currentText(), intervalBox_->currentText(),
                         countBox_->text(), EventLogChoice::None};
    const auto* systemLog = qobject_cast<QCheckBox*>(control(IdSystemLog));
    const auto* applicationLog = qobject_cast<QCheckBox*>(control(IdApplicationLog));
    if (systemLog->isChecked()) {
        request.eventLog = EventLogChoice::System;
    } else if (applicationLog->isChecked()) {
        request.eventLog = EventLogChoice::Application;
    }
    // The journal watch of an earlier Start ends first: no journal read runs beside what follows.
    const bool endedJournalWatch = journal_->stop();
    const StartOutcome outcome = monitor_.start(request);
    if (outcome == StartOutcome::BlankName || outcome == StartOutcome::MissingFile) {
        if (endedJournalWatch) {
            pauseMonitoring(); // the journal is no longer watched, and nothing else is
        }
        return; // still watching what was watched, so what is being read still shows
    }
    pipeline_.cancel(); // nothing read for an earlier source may show from now on
    switch (outcome) {
    case StartOutcome::BlankName:
    case StartOutcome::MissingFile:
        return;
    case StartOutcome::WatchingEventLog:
        setWindowTitle(QStringLiteral("Ombrel - ") + (monitor_.eventLog() == EventLogChoice::System
                                                          ? QStringLiteral("System Log")
                                                          : QStringLiteral("Application Log")));
        exitButton_->setText(QStringLiteral("Pause"));
        exitButton_->setAccessibleName(exitButton_->text());
        showWatchingInTray(monitor_.eventLog() == EventLogChoice::System
                               ? QStringLiteral("System Log")
                               : QStringLiteral("Application Log"));
        statusBar_->setPaneIcon(StatusBar::statePane, icons_.application);
        startJournalWatch();
        return;
    case StartOutcome::WatchingFile:
    case StartOutcome::WatchingNotAFile:
        break;
    }
    setWindowTitle(QStringLiteral("Ombrel - ") + compactPath(monitor_.sourceText(), 40));
    const std::optional<int> position = outcome == StartOutcome::WatchingFile
                                            ? recentFiles_.add(monitor_.sourceText())
                                            : std::nullopt;
    if (position) {
        const QString typed = fileNameBox_->currentText();
        fileNameBox_->insertItem(*position, monitor_.sourceText());
        fileNameBox_->setEditText(typed);
    }
    exitButton_->setText(QStringLiteral("Pause"));
    exitButton_->setAccessibleName(exitButton_->text());
    statusBar_->setPaneIcon(StatusBar::statePane, icons_.application);
    requestDisplayUpdate();
    showWatchingInTray(monitor_.sourceText());
}

void MainWindow::showWatchingInTray(const QString& source) {
    // Stopped first: the animation's end would bring back the picture from before the Start.
    tray_->stopAnimation();
    tray_->setImage({TrayImage::Running});
    tray_->setTip(TrayState::watchingTip(source));
}

void MainWindow::pauseMonitoring() {
    if (!monitor_.eventLogMode()) {
        pipeline_.cancel(); // a paused display keeps what it showed
    }
    monitor_.pause();
    tray_->stopAnimation();
    tray_->setImage({TrayImage::Paused});
    tray_->setTip(TrayState::pausedTip(monitor_.sourceText()));
    exitButton_->setText(QStringLiteral("Exit"));
    exitButton_->setAccessibleName(exitButton_->text());
    statusBar_->setPaneIcon(StatusBar::statePane, icons_.paused);
}

void MainWindow::onCheckTimer() {
    switch (monitor_.tick()) {
    case TickAction::None:
        break;
    case TickAction::StopAnimation:
        tray_->stopAnimation();
        break;
    case TickAction::ReadAndNotify:
        requestDisplayUpdate(UpdateCause::Change);
        announceChange();
        break;
    case TickAction::RetryRead:
        tray_->stopAnimation();
        if (!pipeline_.busy()) {
            requestDisplayUpdate(UpdateCause::Retry);
        }
        break;
    }
}

void MainWindow::announceChange() {
    tray_->startAnimation();
    if (flags_.beepOnChange) {
        alerts_->beep();
    }
    if (flags_.flashOnChange) {
        QApplication::alert(this, 1000);
    }
}

void MainWindow::requestDisplayUpdate(UpdateCause cause, std::optional<QString> text) {
    UpdateRequest request;
    request.retry = cause == UpdateCause::Retry;
    request.change = cause == UpdateCause::Change;
    request.path = monitor_.filePath();
    request.byteCount = monitor_.byteCount();
    request.readOptions.head = monitor_.headMode();
    request.keywords = keywords_.snapshot();
    request.keywordFlags = flags_.keywords;
    request.text = std::move(text);
    pipeline_.request(std::move(request));
}

void MainWindow::showUpdate(const DisplayUpdate& update) {
    if (update.retry && !update.snapshot.opened) {
        return; // still unreadable: nothing new to show or announce
    }
    if (!pipeline_.generations().isCurrent(update.generation)) {
        return; // asked for a source that is no longer watched
    }
    if (update.fileRead && !update.snapshot.opened) {
        showUnreadable(update);
        return;
    }
    display_->setModel(update.model);
    shownGeneration_ = update.generation;
    // A retry that reads again is a change too (announced below).
    alerts_->shown(watchedSource(),
                   {update.generation, update.change || update.retry, update.model, update.marked},
                   flags_.notify);
    // Keyword expressions that mark less than they match say so after the status line.
    const QString problems = update.keywordProblems.join(QStringLiteral("; "));
    // An event log's text has no file status, no status line and never moves the focus.
    if (update.fileRead) {
        monitor_.recordRead(update.snapshot, pipeline_.busy());
        const QString line = tailStatusLine(monitor_.lastStat(), update.lines);
        statusBar_->setPaneText(StatusBar::messagePane,
                                problems.isEmpty() ? line
                                                   : line + QStringLiteral("   ") + problems);
        if (update.retry) {
            // The file could be read again: that is news.
            announceChange();
            monitor_.noteChangeAnnounced();
        }
        if (isActiveWindow() && !findBar_->isAncestorOf(focusWidget())) {
            display_
                ->setFocus(); // never pull the focus out of another window, dialog or the find box
        }
    } else if (!problems.isEmpty()) {
        statusBar_->setPaneText(StatusBar::messagePane, problems);
    }
    Q_EMIT displayUpdated();
}

void MainWindow::showUnreadable(const DisplayUpdate& update) {
    // The text of this source shown last stays; one of an earlier source (or of the time
    // before this Start) does not stand for this one.
    if (shownGeneration_ != update.generation) {
        display_->setModel(update.model);
        shownGeneration_ = update.generation;
    }
    monitor_.recordRead(update.snapshot, pipeline_.busy());
    statusBar_->setPaneText(
        StatusBar::messagePane,
        QStringLiteral("Cannot read %1: %2")
            .arg(QDir::toNativeSeparators(monitor_.filePath()), update.snapshot.failure));
    Q_EMIT displayUpdated();
}

NoticeSource MainWindow::watchedSource() const {
    if (monitor_.eventLogMode()) {
        const QString name = monitor_.eventLog() == EventLogChoice::System
                                 ? QStringLiteral("System Log")
                                 : QStringLiteral("Application Log");
        return {name, name};
    }
    return {monitor_.sourceText(), compactPath(monitor_.sourceText(), 40)};
}

void MainWindow::showNamedLine(std::optional<std::int64_t> line) {
    if (!isVisible() || isMinimized()) {
        windowTray_->restore(); // out of the tray or the taskbar, raised and active
    } else {
        raise(); // behind other windows: it keeps its size, maximised or not
        activateWindow();
    }
    if (line && *line < display_->model()->lineCount()) {
        const DisplayModel& model = *display_->model();
        // The caret at the line's start: a long line shows from its beginning.
        display_->setSelection(model.lineStart(*line) + model.lineLength(*line),
                               model.lineStart(*line));
        display_->setFocus();
    }
}

bool MainWindow::waitForDisplayIdle(int timeoutMs) {
    return pipeline_.waitForIdle(timeoutMs);
}

} // namespace ombrel
