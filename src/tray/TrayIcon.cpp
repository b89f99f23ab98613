#include "tray/TrayIcon.h"

#include <QApplication>
#include <QSystemTrayIcon>

#ifdef QT_DBUS_LIB
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#endif

namespace ombrel {

namespace {
// StatusNotifierItem hosts render tooltips as markup; other trays show them as they are.
bool trayRendersMarkup() {
#ifdef QT_DBUS_LIB
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
#else
    return false;
#endif
}
} // namespace

TrayIcon::TrayIcon(const Icons& icons, std::function<std::int64_t()> clock, QObject* parent)
    : QObject(parent), icons_(icons), clock_(std::move(clock)) {
    createMenu();
    frameTimer_.setInterval(TrayState::frameDelayMs);
    connect(&frameTimer_, &QTimer::timeout, this, [this] {
        state_.frameTick(clock_());
        if (!state_.animating()) {
            frameTimer_.stop();
        }
        updateIcon();
    });
    trayPoll_.setInterval(2000);
    connect(&trayPoll_, &QTimer::timeout, this, &TrayIcon::pollForTray);
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::createMenu() {
    menu_.setObjectName(QStringLiteral("trayMenu"));
    const std::pair<int, const char*> items[] = {{TrayState::restoreCommand, "Restore"},
                                                 {TrayState::minimizeCommand, "Minimize"},
                                                 {0, nullptr},
                                                 {32772, "Lauch Editor"},
                                                 {209, "Options"},
                                                 {221, "New Options"},
                                                 {210, "About Ombrel"},
                                                 {0, nullptr},
                                                 {32774, "Start/Pause"},
                                                 {32773, "Exit"}};
    for (const auto& [id, text] : items) {
        if (id == 0) {
            menu_.addSeparator();
            continue;
        }
        QAction* action = menu_.addAction(QString::fromLatin1(text));
        action->setObjectName(QStringLiteral("trayAction%1").arg(id));
        connect(action, &QAction::triggered, this, [this, id = id] { Q_EMIT commandChosen(id); });
    }
    // The default item is shown in bold, as a tray menu's default is.
    connect(&menu_, &QMenu::aboutToShow, this, [this] {
        for (QAction* action : menu_.actions()) {
            QFont font = action->font();
            font.setBold(action->objectName() ==
                         QStringLiteral("trayAction%1").arg(state_.defaultCommand()));
            action->setFont(font);
        }
    });
}

void TrayIcon::setWanted(bool wanted) {
    wanted_ = wanted;
    pollForTray();
    if (wanted_ && !shown_) {
        trayPoll_.start(); // a tray may appear later (a panel restarting, a late session)
    } else {
        trayPoll_.stop();
    }
}

bool TrayIcon::isShown() const {
    return shown_;
}

void TrayIcon::pollForTray() {
    const bool shouldShow = wanted_ && QSystemTrayIcon::isSystemTrayAvailable();
    if (shouldShow && !icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>();
        icon_->setContextMenu(&menu_);
        connect(icon_.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) { activated(reason); });
        updateIcon();
        setTip(state_.tip());
    }
    if (icon_) {
        icon_->setVisible(shouldShow);
    }
    const bool nowShown = shouldShow && icon_ && icon_->isVisible();
    if (nowShown != shown_) {
        shown_ = nowShown;
        Q_EMIT shownChanged(shown_);
    }
    if (shown_ || !wanted_) {
        trayPoll_.stop();
    } else if (!trayPoll_.isActive()) {
        trayPoll_.start();
    }
}

void TrayIcon::activated(int reason) {
    // A host that sends one activation for a click and a double-click for the same click
    // (Trigger, then DoubleClick) must not run the default command twice.
    if (reason == QSystemTrayIcon::Trigger) {
        sinceTrigger_.start();
    } else if (reason != QSystemTrayIcon::DoubleClick ||
               (sinceTrigger_.isValid() &&
                sinceTrigger_.elapsed() < QApplication::doubleClickInterval())) {
        return;
    }
    Q_EMIT commandChosen(state_.defaultCommand());
}

void TrayIcon::setImage(TrayImage image) {
    state_.setImage(image);
    updateIcon();
}

void TrayIcon::setTip(const QString& tip) {
    state_.setTip(tip);
    if (icon_) {
        icon_->setToolTip(trayRendersMarkup() ? tip.toHtmlEscaped() : tip);
    }
}

void TrayIcon::startAnimation() {
    state_.startAnimation(clock_());
    frameTimer_.start();
}

void TrayIcon::stopAnimation() {
    state_.stopAnimation();
    frameTimer_.stop();
    updateIcon();
}

void TrayIcon::setWindowInTray(bool inTray) {
    state_.setWindowInTray(inTray);
}

void TrayIcon::updateIcon() {
    if (!icon_) {
        return;
    }
    const TrayImage image = state_.image();
    switch (image.kind) {
    case TrayImage::Running:
        icon_->setIcon(icons_.application);
        break;
    case TrayImage::Paused:
        icon_->setIcon(icons_.paused);
        break;
    case TrayImage::Frame:
        icon_->setIcon(icons_.frames.at(static_cast<std::size_t>(image.frame)));
        break;
    }
}

} // namespace ombrel
