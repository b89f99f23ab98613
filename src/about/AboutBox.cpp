#include "about/AboutBox.h"

#include "about/ArchivePicture.h"
#include "about/CreditsImage.h"
#include "about/CreditsView.h"
#include "app/DialogUnits.h"

#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace ombrel {

AboutBox::AboutBox(const QString& archivePath, const QString& credits, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QStringLiteral("About Ombrel"));
    const DialogUnits units(font());
    const QSize pictureArea(units.x(208), units.y(216));

    QImage picture = loadArchivePicture(archivePath, "images\\about.bmp");
    const bool missing = picture.isNull();
    if (missing) {
        picture = QImage(pictureArea, QImage::Format_RGB32); // an empty picture
        picture.fill(Qt::white);
    }
    view_ = new CreditsView(picture, credits.isEmpty() ? QImage() : renderCredits(credits), this);
    view_->move(0, 0);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("control1"));
    ok->setDefault(true);
    const QRect okRect = units.toPixels({24, 220, 69, 14});
    ok->setGeometry(okRect.translated(0, std::max(0, picture.height() - pictureArea.height())));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(std::max(units.x(208), picture.width()),
                 std::max(units.y(241), ok->geometry().bottom() + 1 + units.y(6)));
    if (missing) {
        // Told once the box is up, over the credits, as the picture is asked for there.
        QTimer::singleShot(0, view_, [this] { reportMissingPicture(view_); });
    }
}

} // namespace ombrel
