#include "app/StartupSettings.h"

#include "app/CommandLine.h"
#include "support/TempSettings.h"

#include <gtest/gtest.h>

using ombrel::applyStartupSettings;
using ombrel::StartupOptions;
using ombrel::test::TempSettings;

namespace {

StartupOptions fromSettings(const ombrel::SettingsStore& store) {
    StartupOptions options;
    applyStartupSettings(options, store);
    return options;
}

} // namespace

TEST(StartupSettings, NothingStoredKeepsTheDefaults) {
    TempSettings temp;
    const StartupOptions options = fromSettings(temp.store());
    EXPECT_FALSE(options.hideControls);
    EXPECT_EQ(options.byteCount, 1000);
    EXPECT_EQ(options.checkInterval, 5);
    EXPECT_FALSE(options.placementGiven);
}

TEST(StartupSettings, HideAndStoreLastNeedTheExactTextOne) {
    TempSettings temp;
    auto& store = temp.store();
    store.writeSetting(QStringLiteral("Hide"), QStringLiteral("yes"));
    store.writeSetting(QStringLiteral("StoreLast"), QStringLiteral("1 "));
    store.writeSetting(QStringLiteral("StoreRight"), QStringLiteral("500"));
    StartupOptions options = fromSettings(store);
    EXPECT_FALSE(options.hideControls);
    EXPECT_FALSE(options.placementGiven);
    store.writeSetting(QStringLiteral("Hide"), QStringLiteral("1"));
    store.writeSetting(QStringLiteral("StoreLast"), QStringLiteral("1"));
    options = fromSettings(store);
    EXPECT_TRUE(options.hideControls);
    EXPECT_TRUE(options.placementGiven);
}

TEST(StartupSettings, CheckSizeIsALeadingNumber) {
    TempSettings temp;
    auto& store = temp.store();
    store.writeSetting(QStringLiteral("CheckSize"), QStringLiteral(" 250 bytes"));
    EXPECT_EQ(fromSettings(store).byteCount, 250);
    store.writeSetting(QStringLiteral("CheckSize"), QStringLiteral("-7"));
    EXPECT_EQ(fromSettings(store).byteCount, -7);
    store.writeSetting(QStringLiteral("CheckSize"), QStringLiteral("many"));
    EXPECT_EQ(fromSettings(store).byteCount, 1000);
    store.writeSetting(QStringLiteral("CheckSize"), QString());
    EXPECT_EQ(fromSettings(store).byteCount, 1000);
}

TEST(StartupSettings, StoredEdgesBecomeARectangleWithMissingEdgesZero) {
    TempSettings temp;
    auto& store = temp.store();
    store.writeSetting(QStringLiteral("StoreLast"), QStringLiteral("1"));
    store.writeSetting(QStringLiteral("StoreLeft"), QStringLiteral("100"));
    store.writeSetting(QStringLiteral("StoreRight"), QStringLiteral("600"));
    store.writeSetting(QStringLiteral("StoreBottom"), QStringLiteral("400px"));
    store.writeSetting(QStringLiteral("StoreTop"), QStringLiteral("top")); // not a number: 0
    const StartupOptions options = fromSettings(store);
    EXPECT_TRUE(options.placementGiven);
    EXPECT_EQ(options.startRect, QRect(100, 0, 500, 400));
}

TEST(StartupSettings, ExtremeEdgesAreBoundedInsteadOfOverflowing) {
    TempSettings temp;
    auto& store = temp.store();
    store.writeSetting(QStringLiteral("StoreLast"), QStringLiteral("1"));
    store.writeSetting(QStringLiteral("StoreLeft"), QStringLiteral("-2147483648"));
    store.writeSetting(QStringLiteral("StoreRight"), QStringLiteral("2147483647"));
    store.writeSetting(QStringLiteral("StoreTop"), QStringLiteral("2147483647"));
    store.writeSetting(QStringLiteral("StoreBottom"), QStringLiteral("-2147483648"));
    const QRect rect = fromSettings(store).startRect;
    EXPECT_EQ(rect.left(), -ombrel::placementLimit);
    EXPECT_EQ(rect.width(), ombrel::placementLimit);
    EXPECT_EQ(rect.top(), ombrel::placementLimit);
    EXPECT_EQ(rect.height(), -ombrel::placementLimit);
}

TEST(StartupSettings, TheCommandLineOverridesTheSettings) {
    TempSettings temp;
    auto& store = temp.store();
    store.writeSetting(QStringLiteral("Hide"), QStringLiteral("1"));
    store.writeSetting(QStringLiteral("CheckSize"), QStringLiteral("250"));
    store.writeSetting(QStringLiteral("StoreLast"), QStringLiteral("1"));
    store.writeSetting(QStringLiteral("StoreRight"), QStringLiteral("300"));
    store.writeSetting(QStringLiteral("StoreBottom"), QStringLiteral("200"));

    StartupOptions options = fromSettings(store);
    ombrel::parseCommandLineText(QStringLiteral("/s500 /pc10,20,800,600"), QSize(1024, 768),
                                 options);
    EXPECT_EQ(options.byteCount, 500);
    EXPECT_EQ(options.startRect, QRect(10, 20, 800, 600));
    EXPECT_TRUE(options.hideControls); // the command line cannot switch hiding off

    // Malformed options leave the stored values in place.
    options = fromSettings(store);
    ombrel::parseCommandLineText(QStringLiteral("/s /pc10,20"), QSize(1024, 768), options);
    EXPECT_EQ(options.byteCount, 250);
    EXPECT_EQ(options.startRect, QRect(0, 0, 300, 200));
}
