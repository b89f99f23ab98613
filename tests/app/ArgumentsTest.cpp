#include "app/Arguments.h"

#include "StartupSummary.h"

#include <QDir>
#include <gtest/gtest.h>

using ombrel::ArgumentsAction;
using ombrel::parseArguments;
using ombrel::StartupOptions;
using ombrel::test::summary;

namespace {

// The summary of a run's options, or what else the arguments ask for.
std::string parsed(const std::vector<const char*>& args, StartupOptions options = {}) {
    QStringList list;
    for (const char* arg : args) {
        list.append(QString::fromUtf8(arg));
    }
    const auto result = parseArguments(list, QSize(1024, 768), options);
    switch (result.action) {
    case ArgumentsAction::Run:
        return summary(options);
    case ArgumentsAction::ShowUsage:
        return "usage";
    case ArgumentsAction::ShowVersion:
        return "version";
    case ArgumentsAction::Fail:
        break;
    }
    return "fail: " + result.message.toStdString();
}

} // namespace

TEST(Arguments, WholeOptionFormsInAnyCaseTheRestIsTheName) {
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"-S250", "/t9", "-H", "/KA", "-k", "-PP10,10,50,50", "/Font:Courier"},
         "size=250 interval=9 hide ka k rect=102,76,512,384 font=Courier"},
        // Name parts are joined by one blank and keep their case.
        {{"/var/My", "-s10", "Logs/App.LOG", ""}, "size=10 start name=/var/My Logs/App.LOG"},
        {{" "}, ""},
        {{"-"}, "start name=-"},
        {{"-t7", "--", "-s250", "--no-splash", "--", "-x"},
         "interval=7 start name=-s250 --no-splash -- -x"},
        {{"-h"}, "hide"}, // no help
        // Malformed options are consumed and set nothing, but the interval is clamped.
        {{"-s", "-pp10,10", "-t", "-font:"}, ""},
        // Only the first occurrence counts, even a malformed one; repeats stay out of the name.
        {{"-s10", "/S20", "-t0", "-t50", "-pc1,2,3,4", "-pc5,6,7,8", "a.log", "-font:a", "-font:b"},
         "size=10 interval=1 rect=1,2,3,4 font=a start name=a.log"},
        {{"-pc0,0,800,600", "-pp10,10,50,50"}, "rect=0,0,800,600"},
        {{"-font:courier", "new"}, "font=courier start name=new"},
#ifndef _WIN32 // an absolute path there begins with its drive
        {{"--journal-directory=/srv/j//", "--JOURNAL-DIRECTORY=/x", "a"},
         "journal=/srv/j start name=a"},
#endif
        {{"--NO-SPLASH", "a.log"}, "nosplash start name=a.log"},
        // Every computer counts, in order.
        {{"--journal-host=web1", "--JOURNAL-HOST= db 2 ", "--journal-host=web1"},
         "hosts=web1|db 2|web1"},
        // Paths that begin like options are file names.
        {{"/kaboom"}, "start name=/kaboom"},
        {{"/s25.log"}, "start name=/s25.log"},
        {{"/h/"}, "start name=/h/"},
    };
    for (const auto& [args, expected] : cases) {
        EXPECT_EQ(parsed(args), expected) << args.front();
    }
    StartupOptions preset;
    preset.checkInterval = 0;
    EXPECT_EQ(parsed({"-t"}, preset), "interval=1");
}

TEST(Arguments, HelpVersionAndUnknownDashArguments) {
    for (const char* help : {"--HELP", "/?"}) {
        EXPECT_EQ(parsed({"a.log", help}), "usage") << help;
    }
    EXPECT_EQ(parsed({"--version"}), "version");
    EXPECT_EQ(parsed({"--journal-directory=relative"}),
              "journal=" + QDir::current().filePath(QStringLiteral("relative")).toStdString());

    for (const char* unknown :
         {"-sfoo", "-help", "--verbose", "--journal-directory=", "--journal-host= "}) {
        const std::string failure = parsed({unknown, "a.log"});
        EXPECT_EQ(failure.rfind("fail: ", 0), 0u) << unknown;
        EXPECT_NE(failure.find(unknown), std::string::npos) << failure;
        EXPECT_NE(failure.find("--help"), std::string::npos) << failure;
    }
}
