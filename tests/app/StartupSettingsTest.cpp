#include "app/StartupSettings.h"

#include "StartupSummary.h"
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

TEST(StartupSettings, FlagsNeedTheExactTextOneAndNumbersAreLeadingDecimals) {
    EXPECT_EQ(summary(startup({})), "");
    EXPECT_EQ(summary(startup({{"Hide", "yes"}, {"StoreLast", "1 "}, {"StoreRight", "500"}})), "");
    EXPECT_EQ(summary(startup({{"Hide", "1"}, {"StoreLast", "1"}})), "hide rect=0,0,0,0");
    for (const auto& [stored, size] : {std::pair{" 250 bytes", 250}, std::pair{"many", 1000}}) {
        EXPECT_EQ(startup({{"CheckSize", stored}}).byteCount, size) << stored;
    }
}

TEST(StartupSettings, StoredEdgesBecomeABoundedRectangleWithMissingEdgesZero) {
    EXPECT_EQ(startup({{"StoreLast", "1"},
                       {"StoreLeft", "100"},
                       {"StoreRight", "600"},
                       {"StoreBottom", "400px"},
                       {"StoreTop", "top"}})
                  .startRect,
              QRect(100, 0, 500, 400));
    const QRect extreme = startup({{"StoreLast", "1"},
                                   {"StoreLeft", "-2147483648"},
                                   {"StoreRight", "2147483647"},
                                   {"StoreTop", "2147483647"},
                                   {"StoreBottom", "-2147483648"}})
                              .startRect;
    EXPECT_EQ(extreme.left(), -ombrel::placementLimit);
    EXPECT_EQ(extreme.width(), ombrel::placementLimit);
    EXPECT_EQ(extreme.top(), ombrel::placementLimit);
    EXPECT_EQ(extreme.height(), -ombrel::placementLimit);
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
}
