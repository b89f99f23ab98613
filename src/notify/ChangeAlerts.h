#pragma once

#include "notify/AlertSound.h"
#include "notify/ChangeNotices.h"
#include "notify/NotifierOptions.h"

#ifdef QT_DBUS_LIB
#include "notify/DesktopNotifier.h"

#include <QDBusConnection>
#endif
#include <QIcon>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

namespace ombrel {

/// What a window's change alerts use.
struct ChangeAlertsSetup {
#ifdef QT_DBUS_LIB // a build without D-Bus (Windows) sends no desktop notifications
    std::optional<QDBusConnection> bus; ///< where notifications go; none: none are sent
#endif
    QIcon icon;                            ///< the program's icon, sent when not installed
    std::function<std::int64_t()> clockMs; ///< steady milliseconds
    AlertSoundOptions sound;               ///< how the alert sound plays
    NotifierOptions notifier;              ///< the period and time-out (the icon is filled in)
};

/// The ways a window tells of a change besides its own display: the desktop's alert sound and
/// desktop notifications, with "Show" in them bringing the window back to the line named.
class ChangeAlerts : public QObject {
    Q_OBJECT
public:
    /// Alerts as setup says.
    explicit ChangeAlerts(ChangeAlertsSetup setup, QObject* parent = nullptr);

    /// A change was announced: plays the alert sound.
    void beep();
    /// The display shows update of source: notifies as choice says.
    void shown(const NoticeSource& source, const ShownUpdate& update, NotifyChoice choice);

Q_SIGNALS:
    /// A notification's "Show": the window is to come back (allowed to take the focus) and
    /// select line of the text shown now, if the line named is still there.
    void showRequested(std::optional<std::int64_t> line);

private:
    ChangeNotices notices_;
#ifdef QT_DBUS_LIB
    std::unique_ptr<DesktopNotifier> notifier_;
#endif
    AlertSound sound_;
};

} // namespace ombrel
