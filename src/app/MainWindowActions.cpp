// The main window's own actions: the options, font and print dialogs, Browse, a dropped file, the
// editor, and minimising into the tray.
#include "app/CommandId.h"
#include "app/CompactPath.h"
#include "app/FileDrop.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/ProgramLauncher.h"
#include "app/StatusBar.h"
#include "display/LogView.h"
#include "options/FontFaces.h"
#include "options/OptionsSheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>

namespace ombrel {

void MainWindow::openOptions() {
    const QStringList email = setup_.config.texts(QStringLiteral("//EmailSupport"));
    OptionsSheet sheet(setup_.settings, !email.isEmpty() && email.first() == u"1", this);
    if (dialogs_.run(sheet)) {
        applyOptions(sheet.saved());
    }
    if (closeAfterDialog_) {
        close();
    }
}

void MainWindow::applyOptions(const OptionsResult& result) {
    result.applyTo(flags_);
    tray_->setWanted(flags_.showTrayIcon);
    if (result.keywords) {
        // From what was typed, not read back: the store may not have taken it.
        keywords_.replace(
            KeywordList::parse(KeywordValues::storedKeywords(result.keywords->editText)));
    } else {
        keywords_.loadKeywords(setup_.settings);
    }
    if (monitor_.running() && !monitor_.eventLogMode()) {
        requestDisplayUpdate(); // show the new keyword settings at once
    }
    // The editor is read from the store at each launch: one the store did not take is kept here.
    unsavedEditor_.reset();
    if (!result.written && result.behavior) {
        unsavedEditor_ = result.behavior->editor;
    }
    if (!result.written) {
        openMessageBox(this, QMessageBox::Warning, QStringLiteral("Ombrel"),
                       QStringLiteral("The options could not be saved to %1:\n%2\n\nThey apply to "
                                      "this window until it closes.")
                           .arg(setup_.settings.filePath().isEmpty()
                                    ? QStringLiteral("the registry")
                                    : setup_.settings.filePath(),
                                result.written.reason()),
                       QStringLiteral("optionsNotSavedBox"));
    }
}

void MainWindow::chooseWindowFont() {
    QFontDialog dialog(withStyleName(display_->font()), this); // from what the display shows
    keepStyleAcrossFamilies(dialog);
    dialog.setObjectName(QStringLiteral("fontDialog"));
    if (dialogs_.run(dialog)) {
        windowFont_.choose(*display_, dialog.selectedFont());
        if (monitor_.running() && !monitor_.eventLogMode()) {
            requestDisplayUpdate(); // the marks grow from the new font
        }
    }
    if (closeAfterDialog_) {
        close();
    }
}

void MainWindow::printDisplay() {
    print_->run(display_->model(), display_->font(), this);
    if (closeAfterDialog_) {
        close();
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!FileDrop::firstLocalFile(*event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = FileDrop::firstLocalFile(*event->mimeData());
    if (!path.isEmpty()) {
        event->acceptProposedAction();
        watchDroppedFile(path);
    }
}

void MainWindow::watchDroppedFile(const QString& path) {
    journal_->stop(); // no journal read runs beside the file's
    for (const int id : {IdApplicationLog, IdSystemLog}) {
        qobject_cast<QCheckBox*>(control(id))->setChecked(false);
    }
    setCountLabel(QStringLiteral("Bytes to Display"));
    for (const int id : {IdFileNameBox, IdFileNameLabel, IdBrowse}) {
        control(id)->setEnabled(true);
    }
    monitor_.watchDroppedFile(path);
    fileNameBox_->setEditText(path);
    setWindowTitle(QStringLiteral("Ombrel - ") + compactPath(path, 40));
    exitButton_->setText(QStringLiteral("Pause"));
    exitButton_->setAccessibleName(exitButton_->text());
    if (!checkTimer_.isActive()) {
        checkTimer_.start();
    }
    pipeline_.cancel(); // nothing read for the earlier source may show from now on
    statusBar_->setPaneIcon(StatusBar::statePane, icons_.application);
    showWatchingInTray(path);
    requestDisplayUpdate();
}

void MainWindow::browseForFile() {
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("browseDialog"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("All Files (*)"));
    if (dialogs_.run(dialog) && !dialog.selectedFiles().isEmpty()) {
        const QString path = dialog.selectedFiles().first();
        monitor_.chooseSource(path);
        fileNameBox_->setEditText(path); // Start watches it
    }
    if (closeAfterDialog_) {
        close();
    }
}

void MainWindow::launchEditor() {
    const bool journal = qobject_cast<QCheckBox*>(control(IdApplicationLog))->isChecked() ||
                         qobject_cast<QCheckBox*>(control(IdSystemLog))->isChecked();
    const std::optional<LaunchCommand> command =
        journal ? ProgramLauncher::journalViewerCommand(
                      [](const QString& name) { return QStandardPaths::findExecutable(name); })
                : ProgramLauncher::editorCommand(
                      unsavedEditor_ ? unsavedEditor_
                                     : setup_.settings.readSetting(QStringLiteral("Editor")),
                      monitor_.sourceText());
    if (command) {
        ProgramLauncher::launch(*command); // a failure is not reported
    }
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        windowTray_->windowMinimized(flags_.showTrayIcon, flags_.minimizeToTray);
    }
    QMainWindow::changeEvent(event);
}

} // namespace ombrel
