#include "archive/ArchivePath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ombrel;

TEST(ArchivePath, CurrentThenExecutableThenDataFolderSkippingEmptyOnesAndFolders) {
    QTemporaryDir current, executable, data;
    const ArchiveSearchDirs dirs{current.path(), executable.path(), data.path()};
    const auto place = [](const QTemporaryDir& dir) {
        QFile file(dir.filePath(QStringLiteral("ombrel.omf")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return file.fileName();
    };
    // None there: the current folder's path, so opening it fails as for a missing archive.
    EXPECT_EQ(findArchivePath(dirs), current.filePath(QStringLiteral("ombrel.omf")));
    EXPECT_EQ(findArchivePath({}), QStringLiteral("ombrel.omf"));
    ASSERT_TRUE(QDir(current.path()).mkdir(QStringLiteral("ombrel.omf")));
    const QString inData = place(data);
    EXPECT_EQ(findArchivePath(dirs), inData);
    EXPECT_EQ(findArchivePath({QString(), QString(), data.path()}), inData);
    EXPECT_EQ(findArchivePath(dirs), place(executable));
    ASSERT_TRUE(QDir(current.path()).rmdir(QStringLiteral("ombrel.omf")));
    EXPECT_EQ(findArchivePath(dirs), place(current));
}
