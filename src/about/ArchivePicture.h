#pragma once

#include <QByteArrayView>
#include <QImage>

class QWidget;

namespace ombrel {

class ResourceArchive;

/// The BMP member called name, decoded by Qt's BMP reader from exactly the member's bytes, as
/// a 32-bit RGB image; a null image when the member is missing or does not decode.
QImage decodeBmpMember(const ResourceArchive& archive, QByteArrayView name);

/// The member called name of the archive at archivePath, as decodeBmpMember gives it (a null
/// image when the archive does not open either).
QImage loadArchivePicture(const QString& archivePath, QByteArrayView name);

/// Tells that a picture could not be fetched: "getfile returned null", no caption, an OK
/// button, modal over owner.
void reportMissingPicture(QWidget* owner);

} // namespace ombrel
