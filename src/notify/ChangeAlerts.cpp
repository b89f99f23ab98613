#include "notify/ChangeAlerts.h"

#include <QGuiApplication>
#include <QStandardPaths>

namespace ombrel {

#ifdef QT_DBUS_LIB
namespace {

// The icon's pixels go along unless the desktop can find it by its name.
QImage imageUnlessInstalled(const QIcon& icon, const QString& name) {
    const QString installed =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                               QStringLiteral("icons/hicolor/scalable/apps/%1.svg").arg(name));
    return installed.isEmpty() ? icon.pixmap(64).toImage() : QImage();
}

} // namespace
#endif

ChangeAlerts::ChangeAlerts(ChangeAlertsSetup setup, QObject* parent)
    : QObject(parent), sound_(std::move(setup.sound)) {
#ifdef QT_DBUS_LIB
    if (setup.bus) {
        setup.notifier.image = imageUnlessInstalled(setup.icon, setup.notifier.appIcon);
        notifier_ = std::make_unique<DesktopNotifier>(*setup.bus, std::move(setup.clockMs),
                                                      std::move(setup.notifier));
        connect(notifier_.get(), &DesktopNotifier::showRequested, this,
                [this](const std::optional<NoticeTarget>& target, const QString& token) {
                    // Qt's Wayland client activates with this token at the next activation.
                    if (!token.isEmpty() && QGuiApplication::platformName() == u"wayland") {
                        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
                    }
                    Q_EMIT showRequested(target ? notices_.locate(*target) : std::nullopt);
                });
    }
#endif
}

void ChangeAlerts::beep() {
    sound_.play();
}

void ChangeAlerts::shown(const NoticeSource& source, const ShownUpdate& update,
                         NotifyChoice choice) {
#ifdef QT_DBUS_LIB
    if (!notifier_) {
        return; // nothing to tell it to
    }
    if (const std::optional<Notice> notice = notices_.shown(update, choice)) {
        notifier_->tell(source, *notice);
    }
#else
    Q_UNUSED(source);
    Q_UNUSED(update);
    Q_UNUSED(choice);
#endif
}

} // namespace ombrel
