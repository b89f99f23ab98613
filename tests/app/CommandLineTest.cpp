#include "app/CommandLine.h"

#include "StartupSummary.h"

#include <gtest/gtest.h>

using ombrel::parseCommandLineText;
using ombrel::StartupOptions;
using ombrel::test::summary;

namespace {

StartupOptions parsed(const QString& text, StartupOptions options = {}) {
    parseCommandLineText(text, QSize(1024, 768), options);
    return options;
}

} // namespace

TEST(CommandLine, ParsesTheLowerCasedLineIntoOptionsAndAName) {
    const std::pair<const char*, const char*> cases[] = {
        // The interval is clamped to 1..600; the size only to what an int holds.
        {"/t0", "interval=1"},
        {"/t5000", "interval=600"},
        {"/s250 c:\\logs\\app.log", "size=250 start name=c:\\logs\\app.log"},
        {"/s99999999999", "size=2147483647"},
        // Numbers may follow blanks, but only the option's own word is blanked.
        {"/t 30", "interval=30 start name=30"},
        {"/S300 C:\\Logs\\App.LOG /T9", "size=300 interval=9 start name=c:\\logs\\app.log"},
        // A quoted name loses both quotes, also after options; a quote inside a name stays.
        {"/s10 \"c:\\my logs\\a.log\"", "size=10 start name=c:\\my logs\\a.log"},
        {"\"c:\\open.log", "start name=c:\\open.log"},
        {"c:\\a\"b.log", "start name=c:\\a\"b.log"},
        // Option texts inside a path break it up ("/server.log" holds no number).
        {"c:/temp/server.log", "start name=c:"},
        // Flags are blanked exactly, other options up to the next blank.
        {"/hx.log", "hide start name=x.log"},
        {"/s10x.log", "size=10"},
        // Only the first occurrence counts; a later one stays in the name.
        {"a.log /s10 /s20", "size=10 start name=a.log      /s20"},
        // Placement needs all four numbers; pixels win over percent in either order.
        {"/pp10,10,50,50", "rect=102,76,512,384"},
        {"/pp10,10", ""},
        // "%d" skips blanks after a comma, but the option's word ends at the blank.
        {"/pp10, 10,50,50", "rect=102,76,512,384 start name=10,50,50"},
        {"/pp10,10,50,50 /pc0,0,800,600", "rect=0,0,800,600"},
        {"/pc0,0,800,600 /pp10,10,50,50", "rect=0,0,800,600"},
        {"/font:Courier New", "font=courier start name=new"},
        // "/ka" is handled before "/k".
        {"/ka a.log", "ka start name=a.log"},
        {"/x c:\\a.log", ""},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(summary(parsed(QString::fromUtf8(text))), expected) << text;
    }
}

TEST(CommandLine, KeepsEarlierValuesWhereTheLineGivesNone) {
    StartupOptions earlier;
    earlier.checkInterval = 900;
    earlier.faceName = QStringLiteral("mono");
    EXPECT_EQ(summary(parsed(QString(), earlier)), "interval=900 font=mono"); // no option, no clamp
    EXPECT_EQ(summary(parsed(QStringLiteral("/t /font:"), earlier)), "interval=600 font=mono");
    // Division truncates towards zero; huge percentages do not overflow.
    StartupOptions odd;
    parseCommandLineText(QStringLiteral("/pp-33,33,2147483647,0"), QSize(1023, 1023), odd);
    EXPECT_EQ(odd.startRect.topLeft(), QPoint(-337, 337));
    EXPECT_GT(odd.startRect.width(), 1000000);
}
