#include "support/TempSettings.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

using ombrel::SettingsStore;
using ombrel::test::TempSettings;

TEST(SettingsStore, FlagIsOnOnlyForTheExactTextOneAndNumbersAreLeadingDecimals) {
    TempSettings temp;
    auto& store = temp.store();
    EXPECT_FALSE(store.readFlag(QStringLiteral("Beep"))); // missing
    EXPECT_EQ(store.readNumber(QStringLiteral("Beep")), std::nullopt);
    const std::tuple<const char*, bool, std::optional<std::int32_t>> cases[] = {
        {"1", true, 1},   {"yes", false, {}}, {"1 ", false, 1},
        {" 1", false, 1}, {"01", false, 1},   {"true", false, {}},
        {"0", false, 0},  {"", false, {}},    {"250 bytes", false, 250},
    };
    for (const auto& [text, flag, number] : cases) {
        ASSERT_TRUE(store.writeSetting(QStringLiteral("Beep"), QString::fromLatin1(text)));
        EXPECT_EQ(store.readFlag(QStringLiteral("Beep")), flag) << text;
        EXPECT_EQ(store.readNumber(QStringLiteral("Beep")), number) << text;
    }
}

TEST(SettingsStore, ValuesOfAnyLengthAndWithSeparatorsSurvive) {
    TempSettings temp;
    auto& store = temp.store();
    QString keywords;
    for (int i = 0; i < 400; ++i) {
        keywords += QStringLiteral(";;word%1, with = and \"quotes\"").arg(i);
    }
    ASSERT_GT(keywords.size(), 5000);
    ASSERT_TRUE(store.writeSetting(QStringLiteral("Keywords"), keywords));
    EXPECT_EQ(store.readSetting(QStringLiteral("Keywords")), keywords);
    const QString unicodePath = QStringLiteral("/tmp/Ärger/日本語 log.txt");
    store.writeSetting(QStringLiteral("MRU0"), unicodePath);
    EXPECT_EQ(store.readSetting(QStringLiteral("MRU0")), unicodePath);
}

TEST(SettingsStore, AValueWrittenByAnotherProcessIsSeenByTheNextRead) {
    TempSettings temp;
    auto& store = temp.store();
    ASSERT_TRUE(store.writeSetting(QStringLiteral("Editor"), QStringLiteral("vi")));
    EXPECT_EQ(store.readSetting(QStringLiteral("Editor")), QStringLiteral("vi"));
    // Rewrite the file behind the store's back, as another copy of the program would.
    QThread::msleep(20);
    QFile file(temp.path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[General]\nEditor=/usr/bin/kate --new\nDefault=/opt/ombrel\n");
    file.close();
    EXPECT_EQ(store.readSetting(QStringLiteral("Editor")), QStringLiteral("/usr/bin/kate --new"));
    EXPECT_EQ(store.readSetting(SettingsStore::defaultValueName), QStringLiteral("/opt/ombrel"));
}

TEST(SettingsStore, WriteReportsAFailure) {
    const auto store = SettingsStore::atFile(QStringLiteral("/proc/no-such-dir/Ombrel.conf"));
    EXPECT_FALSE(store.writeSetting(QStringLiteral("Beep"), QStringLiteral("1")));
    EXPECT_EQ(store.readSetting(QStringLiteral("Beep")), std::nullopt);
}
