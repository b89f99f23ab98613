#include "about/ArchivePicture.h"

#include "archive/ResourceArchive.h"

#include <QMessageBox>
#include <algorithm>

namespace ombrel {

QImage decodeBmpMember(const ResourceArchive& archive, QByteArrayView name) {
    std::int64_t size = 0;
    const MallocBuffer member = archive.getfile(name, size);
    if (member.isNull()) {
        return {};
    }
    // The reader sees only the member's bytes, whatever sizes the BMP header claims.
    const auto length = static_cast<qsizetype>(std::min(size, member.size()));
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(member.data()), length);
    const QImage image = QImage::fromData(bytes, "BMP");
    return image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
}

QImage loadArchivePicture(const QString& archivePath, QByteArrayView name) {
    const auto archive = ResourceArchive::open(archivePath);
    return archive ? decodeBmpMember(*archive, name) : QImage();
}

void reportMissingPicture(QWidget* owner) {
    QMessageBox box(QMessageBox::NoIcon, QString(), QStringLiteral("getfile returned null"),
                    QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("missingPictureBox"));
    box.exec();
}

} // namespace ombrel
