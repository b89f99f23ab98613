#include "app/CompactPath.h"

#include <QList>
#include <gtest/gtest.h>
#include <limits>

using ombrel::compactPath;
using ombrel::PathStyle;

namespace {
constexpr PathStyle posix = PathStyle::Posix;
constexpr PathStyle windows = PathStyle::Windows;
} // namespace

TEST(CompactPath, KeepsTheStartAndTheLastElementWithinTheLimit) {
    const QString a29(29, u'a');
    const QString e32(32, u'e');
    const QString longName = QStringLiteral("a-very-long-file-name-that-never-ends-here.log");
    const struct {
        PathStyle style;
        QString text;
        int limit;
        QString expected;
    } cases[] = {
        // Up to limit - 2 characters the text is unchanged.
        {posix, QStringLiteral("/var/log/") + a29, 40, QStringLiteral("/var/log/") + a29},
        {posix, QStringLiteral("/var/log/a") + a29, 40, QStringLiteral("/var/.../a") + a29},
        {windows, QStringLiteral("C:\\Documents and Settings\\user\\Local Settings\\Temp\\app.log"),
         40, QStringLiteral("C:\\Documents and Settings\\us...\\app.log")},
        // A long last element is cut after the separator, also when it only just fits.
        {posix, QStringLiteral("/var/log/") + longName, 40,
         QStringLiteral(".../") + longName.first(32) + QStringLiteral("...")},
        {posix, QStringLiteral("/x/e") + e32 + QStringLiteral("eee"), 40,
         QStringLiteral(".../") + e32 + QStringLiteral("...")},
        // Without elements the start stays; only "/" separates on Linux.
        {posix, longName, 40, longName.first(36) + QStringLiteral("...")},
        {posix, QStringLiteral("c:\\windows\\system32\\drivers\\etc\\hosts.txt"), 20,
         QStringLiteral("c:\\windows\\syste...")},
        {windows, QStringLiteral("c:\\windows\\system32\\drivers\\etc\\hosts.txt"), 20,
         QStringLiteral("c:\\win...\\hosts.txt")},
        {windows, QStringLiteral("c:averyverylongname.txt"), 10, QStringLiteral("...\\av...")},
        // Trailing separators stay with the last element.
        {windows, QStringLiteral("c:\\logs\\archive\\"), 10, QStringLiteral("...\\ar...")},
        {posix, QStringLiteral("/var/log/archive//"), 13, QStringLiteral(".../archi...")},
        {posix, QStringLiteral("////////"), 6, QStringLiteral("//...")},
        // The separator shown is the last slash.
        {windows, QStringLiteral("c:\\logs/sub\\today.log"), 6, QStringLiteral("...\\.")},
        {windows, QStringLiteral("c:\\logs\\sub/today.log"), 6, QStringLiteral(".../.")},
        // Small limits.
        {posix, QStringLiteral("/var/log/syslog"), 1, QString()},
        {posix, QStringLiteral("/var/log/syslog"), 2, QStringLiteral(".")},
        {posix, QStringLiteral("/var/log/syslog"), 7, QStringLiteral(".../..")}, // no part fits
        {posix, QStringLiteral("/var/log/a"), 7, QStringLiteral("/.../a")},
        {posix, QStringLiteral("/var/log/ab"), 7, QStringLiteral(".../ab")},
        {posix, QStringLiteral("/var/log/syslog"), std::numeric_limits<int>::min(), QString()},
        {posix, QStringLiteral("/var/log/syslog"), std::numeric_limits<int>::max(),
         QStringLiteral("/var/log/syslog")},
        // Code points count, and none is split; a stray surrogate is one character.
        {posix, QStringLiteral("😀😀😀😀😀😀😀😀😀😀"), 8, QStringLiteral("😀😀😀😀...")},
        {posix, QStringLiteral("/x/😀😀😀😀😀😀😀😀😀😀"), 12, QStringLiteral(".../😀😀😀😀...")},
        {posix, QChar(0xD800) + QStringLiteral("abcdefgh"), 6,
         QChar(0xD800) + QStringLiteral("a...")},
    };
    for (const auto& [style, text, limit, expected] : cases) {
        EXPECT_EQ(compactPath(text, limit, style), expected) << text.toStdString() << " " << limit;
    }
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
            for (const PathStyle style : {posix, windows}) {
                const QString result = compactPath(text, limit, style);
                const qsizetype length = result.toUcs4().size();
                if (result != text) {
                    EXPECT_LE(length, std::max(limit - 1, 0)) << text.toStdString() << " " << limit;
                    EXPECT_FALSE(result.toUcs4().contains(0xFFFD)) << text.toStdString();
                } else {
                    EXPECT_LE(length, limit - 2);
                }
            }
        }
    }
}
