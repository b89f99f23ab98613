// The main window's event-log side: the two boxes, the journal watch of an event-log Start and
// what its worker reports.
#include "app/CommandId.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/StatusBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <utility>

namespace ombrel {

void MainWindow::setUpEventLog() {
    auto* computerLabel = qobject_cast<QLabel*>(control(IdComputerLabel));
    auto* computerBox = qobject_cast<QComboBox*>(control(IdComputerBox));
    eventLogBoxes_ = std::make_unique<EventLogBoxes>(
        EventLogBoxes::Controls{qobject_cast<QCheckBox*>(control(IdApplicationLog)),
                                qobject_cast<QCheckBox*>(control(IdSystemLog)),
                                {fileNameBox_, control(IdFileNameLabel), control(IdBrowse)},
                                {computerLabel, computerBox},
                                [this](const QString& text) { setCountLabel(text); }});
    computers_ = std::make_unique<ComputerBox>(ComputerBox::Controls{computerLabel, computerBox},
                                               setup_.settings, setup_.startup.journalHosts);
    journal_ = std::make_unique<JournalWatch>(setup_.journalSources);
    connect(journal_.get(), &JournalWatch::textReady, this, &MainWindow::showJournalText);
    connect(journal_.get(), &JournalWatch::waitFailed, this, &MainWindow::showWaitError);
    connect(journal_.get(), &JournalWatch::problemFound, this, [this](const QString& problem) {
        // Otherwise an empty display cannot be told from a journal the user may not read. None
        // clears the pane: what it told (of this watch or an earlier one) no longer holds.
        statusBar_->setPaneText(StatusBar::messagePane, problem);
    });
}

void MainWindow::eventLogBoxClicked(int id) {
    eventLogBoxes_->clicked(qobject_cast<QCheckBox*>(control(id)));
    // The names of the journal now ticked, for the Computer box's list.
    if (qobject_cast<QCheckBox*>(control(id))->isChecked()) {
        computers_->lookUp(
            journalOf(id == IdSystemLog ? EventLogChoice::System : EventLogChoice::Application));
    }
}

JournalSourceOptions MainWindow::journalOf(EventLogChoice choice) const {
    JournalSourceOptions options;
    options.kind =
        choice == EventLogChoice::System ? JournalKind::System : JournalKind::CurrentUser;
    options.directory = setup_.startup.journalDirectory;
    options.hosts = computers_->hosts();
    return options;
}

void MainWindow::startJournalWatch() {
    JournalWatchOptions options{journalOf(monitor_.eventLog()), monitor_.byteCount()};
    journal_->start(options);
    // Machines may have come since the box was ticked: looked for once the entries show, so
    // that a large folder's first read has the machine to itself.
    computersAfterText_ = options.source;
    if (const SettingsWrite written = computers_->save(); !written) {
        openMessageBox(this, QMessageBox::Warning, QStringLiteral("Ombrel"),
                       QStringLiteral("The computers could not be saved to %1:\n%2\n\nThey "
                                      "apply to this window until it closes.")
                           .arg(setup_.settings.filePath().isEmpty()
                                    ? QStringLiteral("the registry")
                                    : setup_.settings.filePath(),
                                written.reason()),
                       QStringLiteral("computersNotSavedBox"));
    }
}

void MainWindow::showJournalText(const QString& text) {
    if (computersAfterText_) {
        computers_->lookUp(*std::exchange(computersAfterText_, std::nullopt));
    }
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
