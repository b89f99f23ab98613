#include "app/StartupSettings.h"

#include "StartupSummary.h"
#include "app/Arguments.h"
#include "app/CommandLine.h"
#include "support/TempSettings.h"

#include <gtest/gtest.h>

using ombrel::StartupOptions;
using ombrel::test::summary;

namespace {

// The start-up options from settings holding the given values, then the command line.
StartupOptions startup(std::initializer_list<std::pair<const char*, const char*>> values,
                       const QString& commandLine = QString()) {
    ombrel::test::TempSettings temp(values);
    StartupOptions options;
    ombrel::applyStartupSettings(options, temp.store());
    ombrel::parseCommandLineText(commandLine, QSize(1024, 768), options);
    return options;
}

} // namespace

TEST(StartupSettings, StoredEdgesBecomeABoundedRectangleWithMissingEdgesZero) {
    // Flags need the exact text "1" (the store's rule), edges are leading decimals.
    EXPECT_EQ(summary(startup({{"StoreLast", "1 "}, {"StoreRight", "500"}})), "");
    EXPECT_EQ(summary(startup({{"StoreLast", "1"},
                               {"StoreLeft", "100"},
                               {"StoreRight", "600"},
                               {"StoreBottom", "400px"},
                               {"StoreTop", "top"}})),
              "rect=100,0,500,400");
    // Edges far apart give differences bounded to the placement limit, 16777215.
    EXPECT_EQ(summary(startup({{"StoreLast", "1"},
                               {"StoreLeft", "-2147483648"},
                               {"StoreRight", "2147483647"},
                               {"StoreTop", "2147483647"},
                               {"StoreBottom", "-2147483648"}})),
              "rect=-16777215,16777215,16777215,-16777215");
}

TEST(StartupSettings, TheCommandLineOverridesTheSettings) {
    const std::initializer_list<std::pair<const char*, const char*>> stored = {
        {"Hide", "1"},
        {"CheckSize", "250"},
        {"StoreLast", "1"},
        {"StoreRight", "300"},
        {"StoreBottom", "200"}};
    // The command line cannot switch hiding off; malformed options leave the stored values.
    EXPECT_EQ(summary(startup(stored, QStringLiteral("/s500 /pc10,20,800,600"))),
              "size=500 hide rect=10,20,800,600");
    EXPECT_EQ(summary(startup(stored, QStringLiteral("/s /pc10,20"))),
              "size=250 hide rect=0,0,300,200");
    // Computers as the keyword list stores its list; blanks around a name are not part of it.
    EXPECT_EQ(summary(startup({{"JournalHosts", ";;web1;; db2 ;;;;a;b;;"}})), "hosts=web1|db2|a;b");
    ombrel::StartupOptions given = startup({{"JournalHosts", "web1"}});
    EXPECT_EQ(ombrel::parseArguments({QStringLiteral("--journal-host=db2")}, QSize(), given).action,
              ombrel::ArgumentsAction::Run);
    EXPECT_EQ(summary(given), "hosts=db2");
}
