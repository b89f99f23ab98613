#include "app/CommandLine.h"

#include <gtest/gtest.h>
#include <limits>

using ombrel::parseCommandLineText;
using ombrel::StartupOptions;

namespace {

const QSize screen1024(1024, 768);

StartupOptions parsed(const QString& text, StartupOptions options = {}) {
    parseCommandLineText(text, screen1024, options);
    return options;
}

} // namespace

TEST(CommandLine, EmptyOrBlankTextChangesNothing) {
    for (const QString& text : {QString(), QStringLiteral("   ")}) {
        const StartupOptions options = parsed(text);
        EXPECT_FALSE(options.startRequested);
        EXPECT_TRUE(options.sourceText.isEmpty());
        EXPECT_EQ(options.byteCount, 1000);
        EXPECT_EQ(options.checkInterval, 5);
        EXPECT_FALSE(options.placementGiven);
    }
}

TEST(CommandLine, IntervalIsClampedWheneverTheOptionIsPresent) {
    EXPECT_EQ(parsed(QStringLiteral("/t0")).checkInterval, 1);
    EXPECT_EQ(parsed(QStringLiteral("/t-3")).checkInterval, 1);
    EXPECT_EQ(parsed(QStringLiteral("/t5000")).checkInterval, 600);
    EXPECT_EQ(parsed(QStringLiteral("/t600")).checkInterval, 600);
    EXPECT_EQ(parsed(QStringLiteral("/t")).checkInterval, 5);
    // Without a number the field is kept, but the clamp still applies to it.
    StartupOptions outOfRange;
    outOfRange.checkInterval = 900;
    EXPECT_EQ(parsed(QStringLiteral("/t"), outOfRange).checkInterval, 600);
    outOfRange.checkInterval = 900;
    EXPECT_EQ(parsed(QString(), outOfRange).checkInterval, 900); // no option, no clamp
}

TEST(CommandLine, SizeOptionAndFileNameStartMonitoring) {
    const StartupOptions options = parsed(QStringLiteral("/s250 c:\\logs\\app.log"));
    EXPECT_EQ(options.byteCount, 250);
    EXPECT_EQ(options.sourceText, QStringLiteral("c:\\logs\\app.log"));
    EXPECT_TRUE(options.startRequested);
    EXPECT_EQ(parsed(QStringLiteral("/s-5")).byteCount, -5); // no range check
    EXPECT_EQ(parsed(QStringLiteral("/s99999999999")).byteCount,
              std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(parsed(QStringLiteral("/sabc")).byteCount, 1000);
}

TEST(CommandLine, NumbersMayFollowBlanksButOnlyTheSlashWordIsBlanked) {
    const StartupOptions options = parsed(QStringLiteral("/t 30"));
    EXPECT_EQ(options.checkInterval, 30);
    EXPECT_EQ(options.sourceText, QStringLiteral("30"));
}

TEST(CommandLine, TheWholeLineIsLowerCased) {
    const StartupOptions options = parsed(QStringLiteral("/S300 C:\\Logs\\App.LOG /T9"));
    EXPECT_EQ(options.byteCount, 300);
    EXPECT_EQ(options.checkInterval, 9);
    EXPECT_EQ(options.sourceText, QStringLiteral("c:\\logs\\app.log"));
    EXPECT_EQ(parsed(QStringLiteral("C:\\ÄRGER\\Ü.LOG")).sourceText,
              QStringLiteral("c:\\ärger\\ü.log"));
}

TEST(CommandLine, AQuotedNameLosesBothQuotes) {
    EXPECT_EQ(parsed(QStringLiteral("\"c:\\my logs\\a.log\"")).sourceText,
              QStringLiteral("c:\\my logs\\a.log"));
    // Also after blanked options, where the name is the first thing left.
    const StartupOptions afterOption = parsed(QStringLiteral("/s10 \"c:\\my logs\\a.log\""));
    EXPECT_EQ(afterOption.byteCount, 10);
    EXPECT_EQ(afterOption.sourceText, QStringLiteral("c:\\my logs\\a.log"));
    EXPECT_EQ(parsed(QStringLiteral("\"c:\\open.log")).sourceText, QStringLiteral("c:\\open.log"));
    // A quote that does not open the name stays.
    EXPECT_EQ(parsed(QStringLiteral("c:\\a\"b.log")).sourceText, QStringLiteral("c:\\a\"b.log"));
}

TEST(CommandLine, OptionTextsInsideAPathBreakItUp) {
    const StartupOptions options = parsed(QStringLiteral("c:/temp/server.log"));
    EXPECT_EQ(options.sourceText, QStringLiteral("c:"));
    EXPECT_TRUE(options.startRequested);
    EXPECT_EQ(options.byteCount, 1000); // "/server.log" holds no number
    EXPECT_EQ(options.checkInterval, 5);
}

TEST(CommandLine, FlagsAreBlankedExactlyOtherOptionsUpToTheNextBlank) {
    const StartupOptions flag = parsed(QStringLiteral("/hx.log"));
    EXPECT_TRUE(flag.hideControls);
    EXPECT_EQ(flag.sourceText, QStringLiteral("x.log"));
    const StartupOptions sized = parsed(QStringLiteral("/s10x.log"));
    EXPECT_EQ(sized.byteCount, 10);
    EXPECT_FALSE(sized.startRequested);
}

TEST(CommandLine, OnlyTheFirstOccurrenceCounts) {
    const StartupOptions options = parsed(QStringLiteral("a.log /s10 /s20"));
    EXPECT_EQ(options.byteCount, 10);
    // The second one is no longer an option and stays in the name.
    EXPECT_EQ(options.sourceText,
              QStringLiteral("a.log") + QString(6, u' ') + QStringLiteral("/s20"));
}

TEST(CommandLine, PercentPlacementNeedsAllFourNumbers) {
    const StartupOptions options = parsed(QStringLiteral("/pp10,10,50,50"));
    EXPECT_TRUE(options.placementGiven);
    EXPECT_EQ(options.startRect, QRect(102, 76, 512, 384));
    for (const char* incomplete : {"/pp10,10", "/pp10,10,50,", "/pp"}) {
        const StartupOptions none = parsed(QString::fromLatin1(incomplete));
        EXPECT_FALSE(none.placementGiven) << incomplete;
        EXPECT_FALSE(none.startRequested) << incomplete;
    }
    // The comma must follow the number directly; the rest after the blank is left as the name.
    const StartupOptions blankBeforeComma = parsed(QStringLiteral("/pp10 ,10,50,50"));
    EXPECT_FALSE(blankBeforeComma.placementGiven);
    EXPECT_EQ(blankBeforeComma.sourceText, QStringLiteral(",10,50,50"));
    // scanf's "%d" skips blanks before a number, also after a comma.
    EXPECT_TRUE(parsed(QStringLiteral("/pp10, 10,50,50")).placementGiven);
    // Division truncates towards zero; huge percentages do not overflow.
    StartupOptions odd;
    parseCommandLineText(QStringLiteral("/pp-33,33,2147483647,0"), QSize(1023, 1023), odd);
    EXPECT_EQ(odd.startRect.left(), -337);
    EXPECT_EQ(odd.startRect.top(), 337);
    EXPECT_GT(odd.startRect.width(), 1000000);
}

TEST(CommandLine, PixelPlacementWinsOverPercentInEitherOrder) {
    const QRect pixels(0, 0, 800, 600);
    EXPECT_EQ(parsed(QStringLiteral("/pp10,10,50,50 /pc0,0,800,600")).startRect, pixels);
    EXPECT_EQ(parsed(QStringLiteral("/pc0,0,800,600 /pp10,10,50,50")).startRect, pixels);
    // An incomplete "/pc" sets nothing, so the percent placement stays.
    EXPECT_EQ(parsed(QStringLiteral("/pc0,0 /pp10,10,50,50")).startRect, QRect(102, 76, 512, 384));
}

TEST(CommandLine, FontTakesTheFirstWord) {
    const StartupOptions options = parsed(QStringLiteral("/font:Courier New"));
    EXPECT_EQ(options.faceName, QStringLiteral("courier"));
    EXPECT_EQ(options.sourceText, QStringLiteral("new"));
    StartupOptions preset;
    preset.faceName = QStringLiteral("mono");
    const StartupOptions empty = parsed(QStringLiteral("/font:"), preset);
    EXPECT_EQ(empty.faceName, QStringLiteral("mono"));
    EXPECT_FALSE(empty.startRequested);
}

TEST(CommandLine, CloseAllIsHandledBeforeCloseSame) {
    const StartupOptions all = parsed(QStringLiteral("/ka a.log"));
    EXPECT_TRUE(all.closeAllOthers);
    EXPECT_FALSE(all.closeSameSource);
    EXPECT_EQ(all.sourceText, QStringLiteral("a.log"));
    const StartupOptions same = parsed(QStringLiteral("/k a.log"));
    EXPECT_FALSE(same.closeAllOthers);
    EXPECT_TRUE(same.closeSameSource);
    const StartupOptions both = parsed(QStringLiteral("/k /ka"));
    EXPECT_TRUE(both.closeAllOthers);
    EXPECT_TRUE(both.closeSameSource);
}

TEST(CommandLine, OnlyOptionsOrALeadingSlashNameNoFile) {
    const StartupOptions options = parsed(QStringLiteral(" /h /ka /s10 /t20 /font:arial "));
    EXPECT_TRUE(options.hideControls);
    EXPECT_EQ(options.faceName, QStringLiteral("arial"));
    EXPECT_FALSE(options.startRequested);
    EXPECT_TRUE(options.sourceText.isEmpty());
    const StartupOptions unknown = parsed(QStringLiteral("/x c:\\a.log"));
    EXPECT_FALSE(unknown.startRequested);
    EXPECT_TRUE(unknown.sourceText.isEmpty());
}
