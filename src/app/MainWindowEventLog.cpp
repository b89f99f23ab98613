// The main window's event-log side: the two boxes, the journal watch of an event-log Start and
// what its worker reports.
#include "app/CommandId.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/StatusBar.h"

#include <QCheckBox>
#include <QComboBox>

namespace ombrel {

void MainWindow::setUpEventLog() {
    eventLogBoxes_ = std::make_unique<EventLogBoxes>(
        EventLogBoxes::Controls{qobject_cast<QCheckBox*>(control(IdApplicationLog)),
                                qobject_cast<QCheckBox*>(control(IdSystemLog)),
                                {fileNameBox_, control(IdFileNameLabel), control(IdBrowse)},
                                [this](const QString& text) { setCountLabel(text); }});
    journal_ = std::make_unique<JournalWatch>(setup_.journalSources);
    connect(journal_.get(), &JournalWatch::textReady, this, &MainWindow::showJournalText);
    connect(journal_.get(), &JournalWatch::waitFailed, this, &MainWindow::showWaitError);
    connect(journal_.get(), &JournalWatch::problemFound, this, [this](const QString& problem) {
        // Otherwise an empty display cannot be told from a journal the user may not read. None
        // clears the pane: what it told (of this watch or an earlier one) no longer holds.
        statusBar_->setPaneText(StatusBar::messagePane, problem);
    });
}

void MainWindow::startJournalWatch() {
    JournalWatchOptions options;
    options.source.kind = monitor_.eventLog() == EventLogChoice::System ? JournalKind::System
                                                                        : JournalKind::CurrentUser;
    options.source.directory = setup_.startup.journalDirectory;
    options.count = monitor_.byteCount();
    journal_->start(options);
}

void MainWindow::showJournalText(const QString& text) {
    // Every report is a change of the log, also while paused.
    requestDisplayUpdate(UpdateCause::Change, text);
    monitor_.noteChangeAnnounced();
    announceChange();
}

void MainWindow::showWaitError(int error) {
    openMessageBox(this, QMessageBox::NoIcon, QString(),
                   QStringLiteral("Wait error: %1").arg(error), QStringLiteral("waitErrorBox"));
}

} // namespace ombrel
