#pragma once

#include <QObject>

class QWidget;

namespace ombrel {

class TrayIcon;

/// Moves a window into the notification area and back. It only hides the window while the
/// tray icon is really shown, so the window can always be reached again; otherwise it is
/// minimised to the taskbar, and it comes back by itself when the icon goes away.
class WindowTray : public QObject {
    Q_OBJECT
public:
    /// window and tray must outlive this object.
    WindowTray(QWidget& window, TrayIcon& tray, QObject* parent = nullptr);

    /// "Minimize": into the tray while its icon is shown, else to the taskbar.
    void minimize();
    /// "Restore": shown, raised and active, out of the tray.
    void restore();
    /// The window was minimised by its own box: into the tray when both settings ask for it.
    void windowMinimized(bool showTrayIcon, bool minimizeToTray);
    /// The window is hidden in the tray.
    bool inTray() const;

private:
    QWidget& window_;
    TrayIcon& tray_;
};

} // namespace ombrel
