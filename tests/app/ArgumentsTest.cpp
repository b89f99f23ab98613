#include "app/Arguments.h"

#include <gtest/gtest.h>

using ombrel::ArgumentsAction;
using ombrel::ArgumentsResult;
using ombrel::parseArguments;
using ombrel::StartupOptions;

namespace {

struct Parsed {
    ArgumentsResult result;
    StartupOptions options;
};

Parsed parsed(std::initializer_list<const char*> args, StartupOptions options = {}) {
    QStringList list;
    for (const char* arg : args) {
        list.append(QString::fromUtf8(arg));
    }
    const ArgumentsResult result = parseArguments(list, QSize(1024, 768), options);
    return {result, options};
}

} // namespace

TEST(Arguments, OptionsTakeEitherPrefixAndAnyCase) {
    const auto [result, options] =
        parsed({"-S250", "/t9", "-H", "/KA", "-k", "-PP10,10,50,50", "/Font:Courier"});
    EXPECT_EQ(result.action, ArgumentsAction::Run);
    EXPECT_EQ(options.byteCount, 250);
    EXPECT_EQ(options.checkInterval, 9);
    EXPECT_TRUE(options.hideControls);
    EXPECT_TRUE(options.closeAllOthers);
    EXPECT_TRUE(options.closeSameSource);
    EXPECT_EQ(options.startRect, QRect(102, 76, 512, 384));
    EXPECT_EQ(options.faceName, QStringLiteral("Courier"));
    EXPECT_FALSE(options.startRequested);
}

TEST(Arguments, PathsThatBeginLikeOptionsAreFileNames) {
    for (const char* path : {"/var/log/syslog", "/srv/app.log", "/tmp/x", "/home/u/a.log",
                             "/kaboom", "/s25.log", "/pp/log", "/h/"}) {
        const auto [result, options] = parsed({path});
        EXPECT_EQ(result.action, ArgumentsAction::Run) << path;
        EXPECT_EQ(options.sourceText, QString::fromUtf8(path));
        EXPECT_TRUE(options.startRequested) << path;
        EXPECT_EQ(options.byteCount, 1000) << path;
        EXPECT_EQ(options.checkInterval, 5) << path;
        EXPECT_FALSE(options.hideControls) << path;
    }
}

TEST(Arguments, NamePartsAreJoinedByOneBlankWithTheirCase) {
    const auto [result, options] = parsed({"/var/My", "-s10", "Logs/App.LOG", ""});
    EXPECT_EQ(options.sourceText, QStringLiteral("/var/My Logs/App.LOG"));
    EXPECT_EQ(options.byteCount, 10);
    EXPECT_TRUE(options.startRequested);
    EXPECT_FALSE(parsed({""}).options.startRequested);
    EXPECT_FALSE(parsed({" "}).options.startRequested);
    EXPECT_EQ(parsed({"-"}).options.sourceText, QStringLiteral("-"));
}

TEST(Arguments, DoubleDashEndsTheOptions) {
    const auto [result, options] = parsed({"-t7", "--", "-s250", "--help", "--", "-x"});
    EXPECT_EQ(result.action, ArgumentsAction::Run);
    EXPECT_EQ(options.checkInterval, 7);
    EXPECT_EQ(options.byteCount, 1000);
    EXPECT_EQ(options.sourceText, QStringLiteral("-s250 --help -- -x"));
}

TEST(Arguments, HelpAndVersionAskToPrint) {
    for (const char* help : {"--help", "--HELP", "-?", "/?"}) {
        EXPECT_EQ(parsed({"a.log", help}).result.action, ArgumentsAction::ShowUsage) << help;
    }
    EXPECT_EQ(parsed({"--version"}).result.action, ArgumentsAction::ShowVersion);
    EXPECT_EQ(parsed({"-h"}).result.action, ArgumentsAction::Run); // "-h" hides, it is no help
    const QString usage = ombrel::usageText();
    for (const char* form : {"-h ", "-ka", "-k ", "-s<", "-t<", "-pp<", "-pc<", "-font:", "--help",
                             "--version", "-- "}) {
        EXPECT_TRUE(usage.contains(QString::fromLatin1(form))) << form;
    }
    EXPECT_TRUE(ombrel::versionText().startsWith(QStringLiteral("Ombrel 2.")));
}

TEST(Arguments, UnknownDashArgumentsFail) {
    for (const char* unknown : {"-x", "-sfoo", "-help", "--verbose", "-kk", "-pp1,2,x"}) {
        const auto [result, options] = parsed({unknown, "a.log"});
        EXPECT_EQ(result.action, ArgumentsAction::Fail) << unknown;
        EXPECT_TRUE(result.message.contains(QString::fromLatin1(unknown))) << unknown;
        EXPECT_TRUE(result.message.contains(QStringLiteral("--help"))) << unknown;
    }
}

TEST(Arguments, MalformedOptionsAreConsumedAndSetNothing) {
    StartupOptions preset;
    preset.checkInterval = 0;
    const auto [result, options] = parsed({"-s", "-pp10,10", "-t", "-font:"}, preset);
    EXPECT_EQ(result.action, ArgumentsAction::Run);
    EXPECT_EQ(options.byteCount, 1000);
    EXPECT_FALSE(options.placementGiven);
    EXPECT_EQ(options.checkInterval, 1); // clamped even without a number
    EXPECT_TRUE(options.faceName.isEmpty());
    EXPECT_FALSE(options.startRequested);
    EXPECT_EQ(parsed({"-t5000"}).options.checkInterval, 600);
}

TEST(Arguments, OnlyTheFirstOccurrenceCounts) {
    const auto [result, options] = parsed(
        {"-s10", "/S20", "-t0", "-t50", "-pc1,2,3,4", "-pc5,6,7,8", "a.log", "-font:a", "-font:b"});
    EXPECT_EQ(options.byteCount, 10);
    EXPECT_EQ(options.checkInterval, 1);
    EXPECT_EQ(options.startRect, QRect(1, 2, 3, 4));
    EXPECT_EQ(options.faceName, QStringLiteral("a"));
    EXPECT_EQ(options.sourceText, QStringLiteral("a.log")); // repeats stay out of the name
    // A malformed first occurrence is still the first.
    EXPECT_EQ(parsed({"-s", "-s250"}).options.byteCount, 1000);
}

TEST(Arguments, PixelPlacementWinsOverPercentInEitherOrder) {
    EXPECT_EQ(parsed({"-pc0,0,800,600", "-pp10,10,50,50"}).options.startRect,
              QRect(0, 0, 800, 600));
    EXPECT_EQ(parsed({"-pp10,10,50,50", "-pc0,0,800,600"}).options.startRect,
              QRect(0, 0, 800, 600));
    EXPECT_EQ(parsed({"-pc0,0", "-pp10,10,50,50"}).options.startRect, QRect(102, 76, 512, 384));
}

TEST(Arguments, AQuotedFaceKeepsItsWordsAndALaterWordIsTheName) {
    EXPECT_EQ(parsed({"-font:DejaVu Sans Mono"}).options.faceName,
              QStringLiteral("DejaVu Sans Mono"));
    const auto [result, options] = parsed({"-font:courier", "new"});
    EXPECT_EQ(options.faceName, QStringLiteral("courier"));
    EXPECT_EQ(options.sourceText, QStringLiteral("new"));
}
