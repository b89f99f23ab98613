// The command table: every menu item, button, shortcut and tray item arrives here by its
// identifier and is routed to what carries it out.
#include "about/AboutBox.h"
#include "about/HelpCommands.h"
#include "about/ManualLocation.h"
#include "about/OpenAddress.h"
#include "app/CommandId.h"
#include "app/MainWindow.h"
#include "app/ProgramLauncher.h"
#include "display/LogView.h"
#include "find/FindController.h"

#include <QCheckBox>

namespace ombrel {

void MainWindow::dispatchCommand(int id) {
    switch (id) {
    case IdCancel:
        closeWithExitCode(IdCancel);
        break;
    case IdStart:
        startMonitoring();
        break;
    case IdExitPause:
        if (monitor_.running()) {
            pauseMonitoring();
        } else {
            closeWithExitCode(IdExitPause);
        }
        break;
    case IdTrayStartPause:
        if (monitor_.running()) {
            pauseMonitoring();
        } else {
            startMonitoring();
        }
        break;
    case IdExit:
        closeWithExitCode(IdExit);
        break;
    case IdHideControls:
        toggleControls();
        break;
    case IdCopy:
        display_->copy();
        break;
    case IdSelectAll:
        display_->selectAll();
        break;
    case IdFind:
        openFindBar();
        break;
    case IdFindNext:
        finder_->findNext();
        break;
    case IdFindPrevious:
        finder_->findPrevious();
        break;
    case IdNextMark:
        finder_->nextMark();
        break;
    case IdPreviousMark:
        finder_->previousMark();
        break;
    case IdApplicationLog:
    case IdSystemLog:
        eventLogBoxClicked(id);
        break;
    case IdHead:
        monitor_.setHeadMode(headBox_->isChecked());
        break;
    case IdOptions:
        openOptions();
        break;
    case IdBrowse:
        browseForFile();
        break;
    case IdLaunchEditor:
    case IdTrayLaunchEditor:
        launchEditor();
        break;
    case IdLaunchNew:
        ProgramLauncher::launch(ProgramLauncher::newCopyCommand());
        break;
    case IdMinimize:
        windowTray_->minimize();
        break;
    case IdRestore:
        windowTray_->restore();
        break;
    case IdWindowFont:
        chooseWindowFont();
        break;
    case IdPrint:
    case IdPrintButton:
        printDisplay();
        break;
    case IdAbout:
    case IdTrayAbout: // the tray's About shows the picture alone
        dialogs_.run(*makeAboutBox(id == IdAbout ? &setup_.config : nullptr, this));
        if (closeAfterDialog_) {
            close();
        }
        break;
    case IdHelp:
        openHelp(ManualSearchDirs::forThisProcess(), this);
        break;
    case IdWebsite:
        openConfigAddress(setup_.config, QStringLiteral("//WebsiteURL"), this);
        break;
    case IdForum:
        openConfigAddress(setup_.config, QStringLiteral("//ForumURL"), this);
        break;
    default:
        break;
    }
}

} // namespace ombrel
