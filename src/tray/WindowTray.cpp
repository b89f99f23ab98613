#include "tray/WindowTray.h"

#include "tray/TrayIcon.h"

#include <QTimer>
#include <QWidget>

namespace ombrel {

WindowTray::WindowTray(QWidget& window, TrayIcon& tray, QObject* parent)
    : QObject(parent), window_(window), tray_(tray) {
    connect(&tray_, &TrayIcon::shownChanged, this, [this](bool shown) {
        if (!shown && inTray()) {
            restore(); // the icon is gone: never leave the window unreachable
        }
    });
}

void WindowTray::minimize() {
    if (!tray_.isShown()) {
        window_.showMinimized();
        return;
    }
    window_.hide();
    tray_.setWindowInTray(true);
}

void WindowTray::restore() {
    window_.showNormal();
    window_.raise();
    window_.activateWindow();
    tray_.setWindowInTray(false);
}

void WindowTray::windowMinimized(bool showTrayIcon, bool minimizeToTray) {
    if (showTrayIcon && minimizeToTray && tray_.isShown()) {
        // Hiding from inside the state change confuses some window managers: do it after.
        QTimer::singleShot(0, this, [this] {
            if (window_.isMinimized()) {
                window_.hide();
                tray_.setWindowInTray(true);
            }
        });
    }
}

bool WindowTray::inTray() const {
    return tray_.state().windowInTray();
}

} // namespace ombrel
