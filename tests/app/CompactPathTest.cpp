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
    const QString longName = QStringLiteral("a-very-long-file-name-that-never-ends-here.log");
    const std::tuple<PathStyle, QString, int, QString> cases[] = {
        // Up to limit - 2 characters the text is unchanged.
        {posix, QStringLiteral("/var/log/") + a29, 40, QStringLiteral("/var/log/") + a29},
        {posix, QStringLiteral("/var/log/a") + a29, 40, QStringLiteral("/var/.../a") + a29},
        {windows, QStringLiteral("C:\\Documents and Settings\\user\\Local Settings\\Temp\\app.log"),
         40, QStringLiteral("C:\\Documents and Settings\\us...\\app.log")},
        // A long last element is cut after the separator, also when it only just fits.
        {posix, QStringLiteral("/var/log/") + longName, 40,
         QStringLiteral(".../") + longName.first(32) + QStringLiteral("...")},
        // Without elements the start stays; only "/" separates on Linux.
        {posix, longName, 40, longName.first(36) + QStringLiteral("...")},
        // Trailing separators stay with the last element.
        {windows, QStringLiteral("c:\\logs\\archive\\"), 10, QStringLiteral("...\\ar...")},
        // The separator shown is the last slash.
        {windows, QStringLiteral("c:\\logs/sub\\today.log"), 6, QStringLiteral("...\\.")},
        // Small limits.
        {posix, QStringLiteral("/var/log/syslog"), 1, QString()},
        {posix, QStringLiteral("/var/log/syslog"), 7, QStringLiteral(".../..")}, // no part fits
        {posix, QStringLiteral("/var/log/a"), 7, QStringLiteral("/.../a")},
        {posix, QStringLiteral("/var/log/syslog"), std::numeric_limits<int>::min(), QString()},
        // Code points count, and none is split; a stray surrogate is one character.
        {posix, QStringLiteral("/x/😀😀😀😀😀😀😀😀😀😀"), 12, QStringLiteral(".../😀😀😀😀...")},
        {posix, QChar(0xD800) + QStringLiteral("abcdefgh"), 6,
         QChar(0xD800) + QStringLiteral("a...")},
    };
    for (const auto& [style, text, limit, expected] : cases) {
        EXPECT_EQ(compactPath(text, limit, style), expected) << text.toStdString() << " " << limit;
    }
}

TEST(CompactPath, EveryResultFitsItsLimit) {
    const QString deep =
        QStringLiteral("/日志/😀😀😀😀/a/very/deep/path/with-a-long-final-element.log");
    for (const int limit : {0, 3, 7, 12, 30}) {
        for (const PathStyle style : {posix, windows}) {
            const QString result = compactPath(deep, limit, style);
            EXPECT_LE(result.toUcs4().size(), std::max(limit - 1, 0)) << limit;
            EXPECT_FALSE(result.toUcs4().contains(0xFFFD)) << limit;
        }
    }
}
