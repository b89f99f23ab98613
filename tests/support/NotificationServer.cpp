#include "support/NotificationServer.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTest>
#include <QTimer>
#include <chrono>

namespace ombrel::test {

namespace {
const QString serviceName = QStringLiteral("org.freedesktop.Notifications");
const QString connectionName = QStringLiteral("stand-in notification server");
} // namespace

NotificationServer::NotificationServer()
    : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName)) {
    bus_.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                        QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals);
    comeBack();
}

NotificationServer::~NotificationServer() {
    leave();
    bus_.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    QDBusConnection::disconnectFromBus(connectionName);
}

void NotificationServer::setAnswer(Answer answer, int lateMs) {
    answer_ = answer;
    lateMs_ = lateMs;
}

void NotificationServer::leave() {
    bus_.unregisterService(serviceName);
    owning_ = false;
}

void NotificationServer::comeBack() {
    owning_ = bus_.registerService(serviceName);
}

bool NotificationServer::waitForCalls(std::size_t count, int timeoutMs) const {
    return QTest::qWaitFor([&] { return calls_.size() >= count; }, timeoutMs);
}

void NotificationServer::invoke(uint id, const QString& action, const QString& token) {
    if (!token.isEmpty()) {
        Q_EMIT ActivationToken(id, token);
    }
    Q_EMIT ActionInvoked(id, action);
}

uint NotificationServer::Notify(const QString& appName, uint replacesId, const QString& appIcon,
                                const QString& summary, const QString& body,
                                const QStringList& actions, const QVariantMap& hints,
                                int expireTimeout) {
    NotifyCall call;
    call.appName = appName;
    call.replacesId = replacesId;
    call.appIcon = appIcon;
    call.summary = summary;
    call.body = body;
    call.actions = actions;
    call.desktopEntry = hints.value(QStringLiteral("desktop-entry")).toString();
    if (hints.contains(QStringLiteral("image-data"))) {
        const auto image = hints.value(QStringLiteral("image-data")).value<QDBusArgument>();
        int width = 0, height = 0, rowStride = 0, bitsPerSample = 0, channels = 0;
        bool alpha = false;
        QByteArray pixels;
        // Read to its end: a structure left open leaks its reader.
        image.beginStructure();
        image >> width >> height >> rowStride >> alpha >> bitsPerSample >> channels >> pixels;
        image.endStructure();
        if (pixels.size() == qsizetype{rowStride} * height && channels == 4 && alpha) {
            call.image = QSize(width, height);
        }
    }
    call.expireTimeout = expireTimeout;
    call.receivedMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count();
    call.id = answer_ == Answer::Error ? 0 : replacesId != 0 ? replacesId : nextId_++;
    calls_.push_back(call);
    if (answer_ == Answer::AtOnce) {
        return call.id;
    }
    setDelayedReply(true);
    const QDBusMessage reply =
        answer_ == Answer::Error
            ? message().createErrorReply(QDBusError::Failed, QStringLiteral("stand-in failure"))
            : message().createReply(QVariant::fromValue(call.id));
    QTimer::singleShot(answer_ == Answer::Late ? lateMs_ : 0, this,
                       [bus = bus_, reply] { bus.send(reply); });
    return 0;
}

QStringList NotificationServer::GetCapabilities() const {
    return {QStringLiteral("actions"), QStringLiteral("body"), QStringLiteral("body-markup")};
}

void NotificationServer::CloseNotification(uint id) {
    Q_EMIT NotificationClosed(id, 3);
}

} // namespace ombrel::test
