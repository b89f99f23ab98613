#include "about/CreditsLayout.h"
#include "about/CreditsScroll.h"
#include "about/ManualLocation.h"
#include "about/OpenableAddress.h"
#include "archive/ConfigDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ombrel;

namespace {

// "H:text@top" per line, H for a heading, E for emphasis, B for body.
std::string described(const QString& credits) {
    std::string out;
    for (const CreditsLine& line : layoutCredits(credits)) {
        const char kind = line.kind == CreditsLineKind::Heading    ? 'H'
                          : line.kind == CreditsLineKind::Emphasis ? 'E'
                                                                   : 'B';
        out += std::string(1, kind) + ":" + line.text.toStdString() + "@" +
               std::to_string(line.top) + " ";
    }
    return out;
}

} // namespace

TEST(CreditsLayout, LineKindsHeightsAndEscapes) {
    const std::pair<const char*, const char*> cases[] = {
        {R"(\tOmbrel\n\rBy\nme)", "H:Ombrel@0 E:By@20 B:me@34 "},
        {R"(\t\tTwo tabs\n\n\r\rx\t)", "H:Two tabs@0 B:@20 E:x\t@34 "},
        // A real line feed breaks like an escaped one; a tab or CR inside a line stays.
        {"a\n\\rb\\tc\n", "B:a@0 E:b\tc@14 B:@28 "},
        // A lone tab or CR is no heading or emphasis text, but still takes its kind's height.
        {R"(\t\n\r\n)", "H:@0 E:@20 B:@34 "},
        {R"(\\n)", "B:\\@0 B:@14 "}, // the escapes are replaced without looking behind
    };
    for (const auto& [stored, expected] : cases) {
        EXPECT_EQ(described(expandCreditsEscapes(QString::fromUtf8(stored))), expected) << stored;
    }
}

TEST(CreditsLayout, LinesBelowTheTextImageAreCutAndConfigGivesTheCredits) {
    const auto lines = layoutCredits(QStringLiteral("\t1\n").repeated(20)); // 20 rows each
    ASSERT_EQ(lines.size(), 15u);                                           // 15 * 20 = 300
    EXPECT_EQ(lines.back().top, 280);

    ConfigDocument config;
    EXPECT_EQ(creditsFromConfig(config), QString());
    config.loadText(R"(<a><b><Credits>\tT\nx</Credits></b><Credits>second</Credits></a>)");
    EXPECT_EQ(creditsFromConfig(config), QStringLiteral("\tT\nx"));
}

TEST(CreditsScroll, RisesForHundredTicksThenScrollsAndRestartsAfter296Rows) {
    // Rectangles are in the 220 x 300 text image and the window; rows past 300 are not read.
    const struct {
        int ticks, bandTop, offset;
        QRect target, source;
    } cases[] = {{0, 320, 0, {}, {}},
                 {1, 319, 0, {}, {}},
                 {50, 270, 0, {100, 270, 220, 49}, {0, 0, 220, 49}},
                 {100, 220, 0, {100, 220, 220, 99}, {0, 0, 220, 99}},
                 {101, 220, 1, {100, 220, 220, 99}, {0, 1, 220, 99}},
                 {350, 220, 250, {100, 220, 220, 99}, {0, 250, 220, 50}},
                 {395, 220, 295, {100, 220, 220, 99}, {0, 295, 220, 5}},
                 {396, 320, 0, {}, {}}};
    for (const auto& c : cases) {
        CreditsScroll scroll;
        for (int i = 0; i < c.ticks; ++i) {
            scroll.advance();
        }
        EXPECT_EQ(scroll.bandTop(), c.bandTop) << c.ticks;
        EXPECT_EQ(scroll.scrollOffset(), c.offset) << c.ticks;
        if (!c.target.isEmpty()) {
            EXPECT_EQ(scroll.target(220), c.target) << c.ticks;
            EXPECT_EQ(scroll.source(220, 300), c.source) << c.ticks;
        } else {
            EXPECT_TRUE(scroll.target(220).isEmpty()) << c.ticks;
        }
    }
}

TEST(OpenableAddress, OnlyWebFtpAndMailAddresses) {
    for (const char* text : {" HTTP://Example.org/a?b=c#d ", "ftp://files.example.org/pub",
                             "mailto:someone@example.org"}) {
        EXPECT_TRUE(openableAddress(QString::fromUtf8(text)).has_value()) << text;
    }
    for (const char* text : {"mailto:", "https:///path-only", "file:///etc/passwd",
                             "xterm -e rm -rf ~", "javascript:alert(1)", "data:text/html,hi"}) {
        EXPECT_FALSE(openableAddress(QString::fromUtf8(text)).has_value()) << text;
    }
}

TEST(ManualLocation, ExecutableFolderFirstThenDataFolderElseNothing) {
    QTemporaryDir build;
    QTemporaryDir data;
    const auto addManual = [](const QTemporaryDir& dir) {
        QDir(dir.path()).mkpath(QStringLiteral("manual"));
        QFile page(dir.filePath(QStringLiteral("manual/index.html")));
        EXPECT_TRUE(page.open(QIODevice::WriteOnly));
        return QFileInfo(page).absoluteFilePath();
    };
    const ManualSearchDirs dirs{build.path(), data.path()};
    EXPECT_EQ(findManualContents(dirs), QString());
    const QString installed = addManual(data);
    EXPECT_EQ(findManualContents(dirs), installed);
    const QString beside = addManual(build);
    EXPECT_EQ(findManualContents(dirs), beside);
    EXPECT_EQ(findManualContents({QString(), data.path()}), installed);
}
