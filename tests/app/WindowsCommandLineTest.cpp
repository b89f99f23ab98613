#include "app/WindowsCommandLine.h"

#include "StartupSummary.h"

#include <gtest/gtest.h>

using namespace ombrel;
using ombrel::test::summary;

TEST(WindowsCommandLine, TheTextAfterTheProgramsName) {
    const std::pair<const char*, const char*> cases[] = {
        {"ombrel.exe /s250 a.log", "/s250 a.log"},
        {"\"C:\\Program Files\\Ombrel\\ombrel.exe\"  \"c:\\my logs\\a.log\"",
         "\"c:\\my logs\\a.log\""},
        {"\"C:\\Program Files\\Ombrel\\ombrel.exe\"/ka", "/ka"},
        {"ombrel\t-ka", "-ka"},
        {"ombrel", ""},
        {"\"ombrel", ""},
    };
    for (const auto& [line, text] : cases) {
        EXPECT_EQ(textAfterProgramName(QString::fromUtf8(line)), QString::fromUtf8(text)) << line;
    }
}

TEST(WindowsCommandLine, ReadsTheLineAfterTheWordsForHelpVersionSplashAndDashOptions) {
    const std::pair<const char*, const char*> cases[] = {
        // The described reading, unchanged: options anywhere, the whole line lower-cased.
        {"/S250 C:\\Logs\\App.LOG", "size=250 start name=c:\\logs\\app.log"},
        {"c:/temp/server.log", "start name=c:"},
        // A whole word written with "-" is its "/" form; one inside a name is not.
        {"-ka -s250 -PP10,10,50,50", "size=250 ka rect=102,76,512,384"},
        {"-font:Courier a.log", "font=courier start name=a.log"},
        {"c:\\my-ka.log", "start name=c:\\my-ka.log"},
        {"-sx a.log", "start name=-sx a.log"},
        {"\"c:\\logs\\ -ka\\a.log\"", "start name=c:\\logs\\ -ka\\a.log"},
        // --no-splash is taken out wherever it stands, in any case.
        {"a.log --No-Splash /t9", "interval=9 nosplash start name=a.log"},
        {"\"--no-splash\"", "start name=--no-splash"},
        {"-?", "usage"},
        {"a.log /?", "usage"},
        {"--HELP", "usage"},
        {"/s10 --version", "version"},
        {"\"--version\"", "start name=--version"},
    };
    for (const auto& [text, expected] : cases) {
        StartupOptions options;
        const ArgumentsResult result =
            parseWindowsCommandLine(QString::fromUtf8(text), QSize(1024, 768), options);
        const std::string shown = result.action == ArgumentsAction::ShowUsage ? "usage"
                                  : result.action == ArgumentsAction::ShowVersion
                                      ? "version"
                                      : summary(options);
        EXPECT_EQ(shown, expected) << text;
    }
}
