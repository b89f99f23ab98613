#include "archive/ArchivePath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ombrel;

namespace {

struct ThreeDirs {
    QTemporaryDir current, executable, data;

    ArchiveSearchDirs dirs() const { return {current.path(), executable.path(), data.path()}; }

    static QString placeArchive(const QTemporaryDir& dir) {
        const QString path = dir.filePath(QStringLiteral("ombrel.omf"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }
};

} // namespace

TEST(ArchivePath, CurrentThenExecutableThenDataFolderSkippingEmptyOnesAndFolders) {
    ThreeDirs dirs;
    // None there: the current folder's path, so opening it fails as for a missing archive.
    EXPECT_EQ(findArchivePath(dirs.dirs()), dirs.current.filePath(QStringLiteral("ombrel.omf")));
    EXPECT_EQ(findArchivePath({}), QStringLiteral("ombrel.omf"));
    ASSERT_TRUE(QDir(dirs.current.path()).mkdir(QStringLiteral("ombrel.omf")));
    const QString inData = ThreeDirs::placeArchive(dirs.data);
    EXPECT_EQ(findArchivePath(dirs.dirs()), inData);
    EXPECT_EQ(findArchivePath({QString(), QString(), dirs.data.path()}), inData);
    const QString nextToExecutable = ThreeDirs::placeArchive(dirs.executable);
    EXPECT_EQ(findArchivePath(dirs.dirs()), nextToExecutable);
    ASSERT_TRUE(QDir(dirs.current.path()).rmdir(QStringLiteral("ombrel.omf")));
    const QString inCurrent = ThreeDirs::placeArchive(dirs.current);
    EXPECT_EQ(findArchivePath(dirs.dirs()), inCurrent);
}
