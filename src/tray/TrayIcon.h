#pragma once

#include "app/Icons.h"
#include "tray/TrayState.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class QSystemTrayIcon;

namespace ombrel {

/// The program's icon in the notification area: shows a TrayState on a real tray, carries the
/// menu and reports the commands chosen. Without a tray it keeps the state and adds the icon
/// once a tray appears.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    /// icons must outlive the tray icon; clock gives the time in whole seconds.
    TrayIcon(const Icons& icons, std::function<std::int64_t()> clock, QObject* parent = nullptr);
    ~TrayIcon() override;

    /// Whether the user wants the icon ("SysTray").
    void setWanted(bool wanted);
    /// The icon is on a tray now, so hiding the window into it leaves a way back.
    bool isShown() const;
    /// The state shown (for reading).
    const TrayState& state() const { return state_; }

    /// Sets the picture.
    void setImage(TrayImage image);
    /// Sets the tooltip (plain text).
    void setTip(const QString& tip);
    /// Starts the change animation (150 ms frames for 5 seconds).
    void startAnimation();
    /// Ends the change animation.
    void stopAnimation();
    /// The window went into the tray or came back: switches the default command.
    void setWindowInTray(bool inTray);

Q_SIGNALS:
    /// A menu item, or the default command, was chosen.
    void commandChosen(int id);
    /// The icon appeared on a tray or left it.
    void shownChanged(bool shown);

private:
    void createMenu();
    void updateIcon();
    void pollForTray();
    void activated(int reason);

    const Icons& icons_;
    std::function<std::int64_t()> clock_;
    TrayState state_;
    bool wanted_ = false;
    bool shown_ = false;
    std::unique_ptr<QSystemTrayIcon> icon_;
    QMenu menu_;
    QTimer frameTimer_;
    QTimer trayPoll_;
    QElapsedTimer sinceTrigger_;
};

} // namespace ombrel
