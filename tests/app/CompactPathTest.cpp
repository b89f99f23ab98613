#include "app/CompactPath.h"

#include <QList>
#include <gtest/gtest.h>
#include <limits>

using ombrel::compactPath;
using ombrel::PathStyle;

namespace {

QString posix(const QString& text, int limit) {
    return compactPath(text, limit, PathStyle::Posix);
}

QString windows(const QString& text, int limit) {
    return compactPath(text, limit, PathStyle::Windows);
}

qsizetype codePoints(const QString& text) {
    return text.toUcs4().size();
}

} // namespace

TEST(CompactPath, TextUpToLimitMinusTwoIsUnchanged) {
    const QString fits = QStringLiteral("/var/log/") + QString(29, u'a'); // 38 characters
    EXPECT_EQ(posix(fits, 40), fits);
    const QString longer = fits + u'a';
    EXPECT_EQ(posix(longer, 40), QStringLiteral("/var/.../") + QString(30, u'a'));
    EXPECT_EQ(posix(QString(), 0), QString());
}

TEST(CompactPath, WindowTitleKeepsTheStartAndTheLastElement) {
    EXPECT_EQ(
        windows(QStringLiteral("C:\\Documents and Settings\\user\\Local Settings\\Temp\\app.log"),
                40),
        QStringLiteral("C:\\Documents and Settings\\us...\\app.log"));
    EXPECT_EQ(
        posix(QStringLiteral("/var/log/journal/abcdef0123456789abcdef0123456789/system.journal"),
              40),
        QStringLiteral("/var/log/journal/abcd.../system.journal"));
}

TEST(CompactPath, ALongLastElementIsCutAfterTheSeparator) {
    const QString element = QStringLiteral("a-very-long-file-name-that-never-ends-here.log");
    EXPECT_EQ(posix(QStringLiteral("/var/log/") + element, 40),
              QStringLiteral(".../") + element.first(32) + QStringLiteral("..."));
    // The element fits only just: len(E) + 4 == L takes the cut form.
    EXPECT_EQ(posix(QStringLiteral("/x/") + QString(36, u'e'), 40),
              QStringLiteral(".../") + QString(32, u'e') + QStringLiteral("..."));
    EXPECT_EQ(posix(QStringLiteral("/x/") + QString(35, u'e') + QStringLiteral("zz"), 40),
              QStringLiteral(".../") + QString(32, u'e') + QStringLiteral("..."));
}

TEST(CompactPath, ATextWithoutElementsKeepsItsStart) {
    const QString name = QStringLiteral("a-file-name-without-any-separators-at-all.log");
    EXPECT_EQ(posix(name, 40), name.first(36) + QStringLiteral("..."));
    EXPECT_EQ(posix(QStringLiteral("abcdef"), 4), QStringLiteral("..."));
    // Only "/" separates on Linux; Windows also takes "\" and ":".
    const QString backslashed = QStringLiteral("c:\\windows\\system32\\drivers\\etc\\hosts.txt");
    EXPECT_EQ(posix(backslashed, 20), backslashed.first(16) + QStringLiteral("..."));
    EXPECT_EQ(windows(backslashed, 20), QStringLiteral("c:\\win...\\hosts.txt"));
    EXPECT_EQ(windows(QStringLiteral("c:averyverylongname.txt"), 10), QStringLiteral("...\\av..."));
}

TEST(CompactPath, TrailingSeparatorsStayWithTheLastElement) {
    EXPECT_EQ(windows(QStringLiteral("c:\\logs\\archive\\"), 10), QStringLiteral("...\\ar..."));
    EXPECT_EQ(posix(QStringLiteral("/var/log/archive//"), 30),
              QStringLiteral("/var/log/archive//"));
    EXPECT_EQ(posix(QStringLiteral("/var/log/archive//"), 13), QStringLiteral(".../archi..."));
    EXPECT_EQ(posix(QStringLiteral("////////"), 6), QStringLiteral("//..."));
    EXPECT_EQ(posix(QStringLiteral("////////"), 8), QStringLiteral("////..."));
}

TEST(CompactPath, TheSeparatorShownIsTheLastSlash) {
    EXPECT_EQ(windows(QStringLiteral("c:\\logs/sub\\today.log"), 6), QStringLiteral("...\\."));
    EXPECT_EQ(windows(QStringLiteral("c:\\logs\\sub/today.log"), 6), QStringLiteral(".../."));
    EXPECT_EQ(windows(QStringLiteral("c:today.log"), 5), QStringLiteral("...\\"));
    EXPECT_EQ(posix(QStringLiteral("/var/log/syslog"), 5), QStringLiteral(".../"));
}

TEST(CompactPath, SmallLimits) {
    const QString path = QStringLiteral("/var/log/syslog");
    EXPECT_EQ(posix(path, 0), QString());
    EXPECT_EQ(posix(path, 1), QString());
    EXPECT_EQ(posix(path, 2), QStringLiteral("."));
    EXPECT_EQ(posix(path, 3), QStringLiteral(".."));
    EXPECT_EQ(posix(path, 4), QStringLiteral("..."));
    EXPECT_EQ(posix(path, 6), QStringLiteral(".../."));
    // With 7 the element does not fit and no part of it can be shown.
    EXPECT_EQ(posix(path, 7), QStringLiteral(".../.."));
    EXPECT_EQ(posix(path, 8), QStringLiteral(".../..."));
    EXPECT_EQ(posix(path, 9), QStringLiteral(".../s..."));
    EXPECT_EQ(posix(QStringLiteral("/var/log/a"), 7), QStringLiteral("/.../a"));
    EXPECT_EQ(posix(QStringLiteral("/var/log/ab"), 7), QStringLiteral(".../ab"));
    EXPECT_EQ(posix(QStringLiteral("abcdef"), 3), QStringLiteral(".."));
    EXPECT_EQ(posix(path, std::numeric_limits<int>::min()), QString());
    EXPECT_EQ(posix(path, std::numeric_limits<int>::max()), path);
}

TEST(CompactPath, EveryResultFitsItsLimit) {
    const QList<QString> texts = {
        QStringLiteral("/var/log/syslog"),
        QStringLiteral("c:\\logs\\archive\\"),
        QStringLiteral("////"),
        QStringLiteral("plainname"),
        QStringLiteral("/a/very/deep/path/with/a/rather-long-final-element-name.log"),
        QStringLiteral("c:/x:y\\z/"),
        QStringLiteral("/日志/😀😀😀😀/😀😀😀😀😀😀😀😀😀😀.log"),
    };
    for (const QString& text : texts) {
        for (int limit = -2; limit <= 70; ++limit) {
            for (const PathStyle style : {PathStyle::Posix, PathStyle::Windows}) {
                const QString result = compactPath(text, limit, style);
                if (result != text) {
                    EXPECT_LE(codePoints(result), std::max(limit - 1, 0))
                        << text.toStdString() << " limit " << limit;
                    EXPECT_FALSE(result.toUcs4().contains(0xFFFD)) << text.toStdString();
                } else {
                    EXPECT_LE(codePoints(text), limit - 2);
                }
            }
        }
    }
}

TEST(CompactPath, CountsCodePointsAndNeverSplitsOne) {
    const QString faces = QStringLiteral("😀😀😀😀😀"); // 5 code points, 10 UTF-16 units
    EXPECT_EQ(posix(faces, 7), faces);
    EXPECT_EQ(posix(faces + faces, 8), QStringLiteral("😀😀😀😀..."));
    EXPECT_EQ(posix(QStringLiteral("/x/") + faces + faces, 12), QStringLiteral(".../😀😀😀😀..."));
    EXPECT_EQ(posix(QStringLiteral("/日志/目录/文件名.log"), 12), QStringLiteral(".../文件名.log"));
    // A stray surrogate is one character and is kept as it is.
    const QString stray = QString(QChar(0xD800)) + QStringLiteral("abcdefgh");
    EXPECT_EQ(posix(stray, 6), QString(QChar(0xD800)) + QStringLiteral("a..."));
}
