#include "about/SplashWindow.h"

#include "about/SplashGeometry.h"
#include "app/DialogUnits.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

namespace ombrel {

SplashWindow::SplashWindow(const QImage& picture, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("splash"));
    setAccessibleName(QStringLiteral("Ombrel is starting"));
    setModal(true);
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer); // a coarse timer may end it 5% early
    connect(&timer_, &QTimer::timeout, this, [this] {
        timeUp_ = true;
        accept();
    });
    timer_.start(displayMilliseconds);

    const DialogUnits units(font());
    QRect area = parent ? parent->frameGeometry() : QRect();
    if (area.isEmpty() && QGuiApplication::primaryScreen()) {
        area = QGuiApplication::primaryScreen()->availableGeometry();
    }
    const QRect frame = splashGeometry(area, {units.x(186), units.y(90)}, picture.size());

    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("control1001"));
    label->setAccessibleName(QStringLiteral("Ombrel"));
    label->setPixmap(QPixmap::fromImage(picture));
    label->setGeometry(QRect(QPoint(0, 0), frame.size()));
    setFixedSize(frame.size());
    move(frame.topLeft());
}

int SplashWindow::exec() {
    if (timeUp_) {
        return Accepted;
    }
    return QDialog::exec();
}

} // namespace ombrel
