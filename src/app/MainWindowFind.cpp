// The main window's find bar: where it sits, below the display.
#include "app/MainWindow.h"
#include "display/LogView.h"
#include "find/FindBar.h"
#include "find/FindController.h"

#include <algorithm>

namespace ombrel {

void MainWindow::openFindBar() {
    if (findBar_->isHidden()) {
        // The bar goes below the display, never over the controls: the smallest window grows
        // by the bar's height while it is open.
        setMinimumSize(minimumWindowSize + QSize(0, findBar_->barHeight()));
        findBar_->show();
        fitFindBar();
    }
    finder_->open();
}

void MainWindow::fitFindBar() {
    // The display has its whole place here; the bar takes the bottom of it.
    if (findBar_->isHidden()) {
        findBarHeight_ = 0;
        return;
    }
    const QRect whole = display_->geometry();
    findBarHeight_ = std::min(findBar_->barHeight(), whole.height());
    display_->setGeometry(whole.adjusted(0, 0, 0, -findBarHeight_));
    // Whole even where the display has less room (only while the window grows to its new
    // smallest size): over the controls above it rather than cut.
    findBar_->setGeometry(whole.left(), whole.bottom() + 1 - findBar_->barHeight(), whole.width(),
                          findBar_->barHeight());
    findBar_->raise();
}

void MainWindow::findBarClosed() {
    display_->setGeometry(display_->geometry().adjusted(0, 0, 0, findBarHeight_));
    findBarHeight_ = 0;
}

} // namespace ombrel
