#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <QVariantMap>
#include <cstdint>
#include <vector>

namespace ombrel::test {

/// One Notify call as the stand-in server took it.
struct NotifyCall {
    QString appName;
    uint replacesId = 0;
    QString appIcon;
    QString summary;
    QString body;
    QStringList actions;
    QString desktopEntry; ///< the "desktop-entry" hint
    QSize image;          ///< the "image-data" hint's size; empty without one
    int expireTimeout = 0;
    uint id = 0;                 ///< the id answered (0 when not answered with one)
    std::int64_t receivedMs = 0; ///< steady milliseconds when the call arrived
};

/// A stand-in desktop notification server: owns org.freedesktop.Notifications on a connection
/// of its own to the session bus, records each Notify call, answers at once, late or with an
/// error, and sends the signals a server sends when the user acts on a notification. Lives on
/// the test's thread, which must run its event loop for the server to answer.
class NotificationServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    /// How Notify is answered.
    enum class Answer { AtOnce, Late, Error };

    /// Connects and takes the name; check owning().
    NotificationServer();
    ~NotificationServer() override;

    /// The server owns the name.
    bool owning() const { return owning_; }
    /// Answers the next calls so, Late ones after lateMs.
    void setAnswer(Answer answer, int lateMs = 0);
    /// Gives up the name, as a server that ends; come back with comeBack().
    void leave();
    /// Takes the name again.
    void comeBack();
    /// The calls so far, in order.
    const std::vector<NotifyCall>& calls() const { return calls_; }
    /// Runs the event loop until there are count calls; false on time-out.
    bool waitForCalls(std::size_t count, int timeoutMs = 5000) const;
    /// Sends the signals of a click: ActivationToken (unless token is empty), then ActionInvoked.
    void invoke(uint id, const QString& action, const QString& token = {});

public Q_SLOTS:
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int expireTimeout);
    QStringList GetCapabilities() const;
    void CloseNotification(uint id);

Q_SIGNALS:
    void NotificationClosed(uint id, uint reason);
    void ActionInvoked(uint id, const QString& actionKey);
    void ActivationToken(uint id, const QString& activationToken);

private:
    QDBusConnection bus_;
    bool owning_ = false;
    Answer answer_ = Answer::AtOnce;
    int lateMs_ = 0;
    uint nextId_ = 1;
    std::vector<NotifyCall> calls_;
};

} // namespace ombrel::test
