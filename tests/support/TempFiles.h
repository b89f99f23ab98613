#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <gtest/gtest.h>

namespace ombrel::test {

/// A temporary folder for watched files, removed with the object.
class TempFiles {
public:
    TempFiles() { EXPECT_TRUE(dir_.isValid()); }

    /// The path of name inside the folder.
    QString path(const QString& name) const { return dir_.filePath(name); }

    /// Replaces the file's content (creating it) and returns its path.
    QString write(const QString& name, const QByteArray& bytes) const {
        return writeMode(name, bytes, QIODevice::WriteOnly | QIODevice::Truncate);
    }
    /// Appends to the file, as a logging program does.
    QString append(const QString& name, const QByteArray& bytes) const {
        return writeMode(name, bytes, QIODevice::WriteOnly | QIODevice::Append);
    }
    /// Sets the file's modification time to msecs since 1970 (millisecond resolution).
    void setModified(const QString& name, std::int64_t msecs) const {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(file.setFileTime(QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC),
                                     QFileDevice::FileModificationTime));
    }

private:
    QString writeMode(const QString& name, const QByteArray& bytes,
                      QIODevice::OpenMode mode) const {
        QFile file(path(name));
        EXPECT_TRUE(file.open(mode));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return file.fileName();
    }

    QTemporaryDir dir_;
};

} // namespace ombrel::test
