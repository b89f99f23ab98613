#pragma once

#include "notify/ChangeNotices.h"
#include "notify/NotifierOptions.h"
#include "notify/NotifyThrottle.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QImage>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

namespace ombrel {

/// Sends change notices as freedesktop desktop notifications (org.freedesktop.Notifications on
/// the session bus), at most one per source each period: the changes between are counted and
/// their notification replaces the open one. Calls are asynchronous and their failures (no
/// server, a slow or broken one) are ignored, so monitoring never waits for the desktop.
class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    static inline const QString service = QStringLiteral("org.freedesktop.Notifications");
    static inline const QString path = QStringLiteral("/org/freedesktop/Notifications");

    /// Notifies on bus (a disconnected one sends nothing); clockMs gives steady milliseconds.
    DesktopNotifier(QDBusConnection bus, std::function<std::int64_t()> clockMs,
                    NotifierOptions options = {}, QObject* parent = nullptr);

    /// Tells notice, a change of source: now, or with the changes held to the end of the period.
    void tell(const NoticeSource& source, const Notice& notice);

Q_SIGNALS:
    /// The user clicked a notification or its "Show": target is its first line, token (maybe
    /// empty) what lets the window take the focus on Wayland.
    void showRequested(const std::optional<ombrel::NoticeTarget>& target, const QString& token);

private Q_SLOTS:
    void actionInvoked(uint id, const QString& action);
    void activationToken(uint id, const QString& token);
    void notificationClosed(uint id, uint reason);

private:
    struct SourceState {
        QString name;
        Notice newest;    // the notice of the newest change, held or sent
        uint shownId = 0; // the server's id of the open notification, 0 for none
    };

    void send(const QString& key, std::int64_t moreChanges);
    void sendDue();
    void scheduleDue();
    void forgetOpen();

    QDBusConnection bus_;
    std::function<std::int64_t()> clockMs_;
    NotifierOptions options_;
    NotifyThrottle throttle_;
    QTimer dueTimer_;
    QDBusServiceWatcher serverWatch_;
    std::map<QString, SourceState> sources_;
    std::map<uint, std::optional<NoticeTarget>> targets_; // of the open notifications
    std::map<uint, QString> tokens_;
};

} // namespace ombrel
