#include "notify/DesktopNotifier.h"

#include "notify/NoticeText.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <algorithm>

namespace ombrel {

namespace {

const QString interfaceName = QStringLiteral("org.freedesktop.Notifications");
constexpr std::size_t openKept = 32; // targets of notifications the server never said closed

// The "image-data" hint: width, height, row stride, alpha, bits per sample, channels, pixels.
QVariant imageHint(const QImage& image) {
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    QDBusArgument argument;
    argument.beginStructure();
    argument << rgba.width() << rgba.height() << static_cast<int>(rgba.bytesPerLine()) << true << 8
             << 4
             << QByteArray(reinterpret_cast<const char*>(rgba.constBits()),
                           static_cast<qsizetype>(rgba.sizeInBytes()));
    argument.endStructure();
    return QVariant::fromValue(argument);
}

} // namespace

DesktopNotifier::DesktopNotifier(QDBusConnection bus, std::function<std::int64_t()> clockMs,
                                 NotifierOptions options, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), clockMs_(std::move(clockMs)),
      options_(std::move(options)), throttle_(options_.periodMs) {
    dueTimer_.setSingleShot(true);
    connect(&dueTimer_, &QTimer::timeout, this, &DesktopNotifier::sendDue);
    if (!bus_.isConnected()) {
        return;
    }
    // Signals of the server only, by its name: one that leaves and comes back is followed.
    bus_.connect(service, path, interfaceName, QStringLiteral("ActionInvoked"), this,
                 SLOT(actionInvoked(uint, QString)));
    bus_.connect(service, path, interfaceName, QStringLiteral("ActivationToken"), this,
                 SLOT(activationToken(uint, QString)));
    bus_.connect(service, path, interfaceName, QStringLiteral("NotificationClosed"), this,
                 SLOT(notificationClosed(uint, uint)));
    // A server that comes back knows none of the notifications of the one before, and may give
    // their ids to others'.
    serverWatch_.setConnection(bus_);
    serverWatch_.setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
    serverWatch_.addWatchedService(service);
    connect(&serverWatch_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &DesktopNotifier::forgetOpen);
}

void DesktopNotifier::forgetOpen() {
    targets_.clear();
    tokens_.clear();
    for (auto& [key, state] : sources_) {
        state.shownId = 0;
    }
}

void DesktopNotifier::tell(const NoticeSource& source, const Notice& notice) {
    if (!bus_.isConnected()) {
        return; // no desktop session: nothing to tell it
    }
    SourceState& state = sources_[source.key];
    state.name = source.name;
    state.newest = notice;
    if (const std::optional<std::int64_t> earlier = throttle_.offer(source.key, clockMs_())) {
        send(source.key, *earlier);
    }
    scheduleDue();
}

void DesktopNotifier::sendDue() {
    for (const NotifyThrottle::Held& held : throttle_.takeDue(clockMs_())) {
        send(held.source, held.changes - 1); // the newest change's lines show: the rest count
    }
    scheduleDue();
}

void DesktopNotifier::scheduleDue() {
    if (const std::optional<std::int64_t> due = throttle_.nextDue()) {
        dueTimer_.start(static_cast<int>(std::max<std::int64_t>(0, *due - clockMs_())));
    } else {
        dueTimer_.stop();
    }
}

void DesktopNotifier::send(const QString& key, std::int64_t moreChanges) {
    const SourceState& state = sources_[key];
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("ombrel"));
    if (!options_.image.isNull()) {
        hints.insert(QStringLiteral("image-data"), imageHint(options_.image));
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, interfaceName, QStringLiteral("Notify"));
    // "default" is a click on the notification; "show" its button.
    call << QStringLiteral("Ombrel") << state.shownId << options_.appIcon
         << NoticeText::summary(state.name)
         << NoticeText::body(state.newest.lines, state.newest.moreLines, moreChanges)
         << QStringList{QStringLiteral("default"), QStringLiteral("Show"), QStringLiteral("show"),
                        QStringLiteral("Show")}
         << hints << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, options_.callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, key, target = state.newest.target](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<uint> reply = *finished;
                if (reply.isError()) {
                    return; // no server, or a broken one: the change is on the display anyway
                }
                const uint id = reply.value();
                sources_[key].shownId = id;
                targets_[id] = target;
                while (targets_.size() > openKept) {
                    targets_.erase(targets_.begin());
                }
            });
}

void DesktopNotifier::actionInvoked(uint id, const QString& action) {
    const auto found = targets_.find(id);
    if (found == targets_.end() || (action != u"default" && action != u"show")) {
        return; // another program's notification, or an action not ours
    }
    const auto token = tokens_.find(id);
    const QString tokenText = token == tokens_.end() ? QString() : token->second;
    tokens_.clear();
    Q_EMIT showRequested(found->second, tokenText);
}

void DesktopNotifier::activationToken(uint id, const QString& token) {
    if (targets_.count(id) != 0) {
        tokens_[id] = token; // sent just before the action it is for
    }
}

void DesktopNotifier::notificationClosed(uint id, uint /*reason*/) {
    targets_.erase(id);
    tokens_.erase(id);
    for (auto& [key, state] : sources_) {
        if (state.shownId == id) {
            state.shownId = 0; // the next notification is a new one
        }
    }
}

} // namespace ombrel
