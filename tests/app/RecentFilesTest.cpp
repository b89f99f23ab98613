#include "app/RecentFiles.h"

#include "support/TempSettings.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using ombrel::RecentFiles;
using ombrel::SettingsStore;
using ombrel::test::TempSettings;

namespace {
void store(SettingsStore& settings, const QStringList& names) {
    settings.writeSetting(QStringLiteral("MRUCnt"), QString::number(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        settings.writeSetting(QStringLiteral("MRU%1").arg(i), names[i]);
    }
}

QStringList files(std::initializer_list<const char*> names) {
    QStringList list;
    for (const char* name : names) {
        list.append(QString::fromUtf8(name));
    }
    return list;
}
} // namespace

TEST(RecentFiles, FourStartsKeepTheLastThreeForTheNextRun) {
    TempSettings temp;
    RecentFiles recent(temp.store());
    EXPECT_TRUE(recent.load().isEmpty());
    EXPECT_EQ(recent.add(QStringLiteral("/var/log/a.log")), 0);
    EXPECT_EQ(recent.add(QStringLiteral("/var/log/b.log")), 1);
    EXPECT_EQ(recent.add(QStringLiteral("/var/log/c.log")), 2);
    EXPECT_EQ(recent.add(QStringLiteral("/var/log/d.log")), 3);
    EXPECT_EQ(recent.entries(), files({"/var/log/b.log", "/var/log/c.log", "/var/log/d.log"}));
    // The box still holds a.log, so the next addition lands before d.log.
    EXPECT_EQ(recent.add(QStringLiteral("/var/log/e.log")), 3);
    recent.save();

    RecentFiles nextRun(temp.store());
    EXPECT_EQ(nextRun.load(), files({"/var/log/c.log", "/var/log/d.log", "/var/log/e.log"}));
    EXPECT_EQ(temp.store().readSetting(QStringLiteral("MRUCnt")), QStringLiteral("3"));
}

TEST(RecentFiles, KnownNameChangesNothingAndCaseMatters) {
    TempSettings temp;
    RecentFiles recent(temp.store());
    recent.add(QStringLiteral("C:\\Logs\\a.log"));
    recent.add(QStringLiteral("b.log"));
    EXPECT_EQ(recent.add(QStringLiteral("C:\\Logs\\a.log")), std::nullopt);
    EXPECT_EQ(recent.entries(), files({"C:\\Logs\\a.log", "b.log"}));
    EXPECT_EQ(recent.add(QStringLiteral("c:\\logs\\a.log")), 2);
    EXPECT_EQ(recent.entries().size(), 3);
}

TEST(RecentFiles, StoredListOfFiveStaysAtFive) {
    TempSettings temp;
    store(temp.store(), files({"1", "2", "3", "4", "5"}));
    RecentFiles recent(temp.store());
    EXPECT_EQ(recent.load().size(), 5);
    EXPECT_EQ(recent.add(QStringLiteral("6")), 5);
    EXPECT_EQ(recent.entries(), files({"2", "3", "4", "5", "6"}));
}

TEST(RecentFiles, CloseWithoutAStartSavesTheLoadedListAndLeavesHigherEntries) {
    TempSettings temp;
    store(temp.store(), files({"x", "y", "z", "old"}));
    temp.store().writeSetting(QStringLiteral("MRUCnt"), QStringLiteral("2"));
    RecentFiles recent(temp.store());
    EXPECT_EQ(recent.load(), files({"x", "y"}));
    recent.save();
    EXPECT_EQ(temp.store().readSetting(QStringLiteral("MRUCnt")), QStringLiteral("2"));
    EXPECT_EQ(temp.store().readSetting(QStringLiteral("MRU3")), QStringLiteral("old"));
}

TEST(RecentFiles, MissingEntriesAreSkippedAndBadCountsGiveAnEmptyList) {
    TempSettings temp;
    auto& settings = temp.store();
    settings.writeSetting(QStringLiteral("MRU0"), QStringLiteral("first"));
    settings.writeSetting(QStringLiteral("MRU2"), QStringLiteral("third"));
    RecentFiles recent(settings);
    EXPECT_TRUE(recent.load().isEmpty()); // no count
    for (const char* count : {"none", "0", "-3", ""}) {
        settings.writeSetting(QStringLiteral("MRUCnt"), QString::fromLatin1(count));
        EXPECT_TRUE(recent.load().isEmpty()) << count;
    }
    settings.writeSetting(QStringLiteral("MRUCnt"), QStringLiteral("3 entries"));
    EXPECT_EQ(recent.load(), files({"first", "third"}));
}

TEST(RecentFiles, HugeStoredCountIsCappedAndLongNamesSurvive) {
    TempSettings temp;
    QStringList names;
    for (int i = 0; i < RecentFiles::loadLimit + 3; ++i) {
        names.append(QStringLiteral("/logs/%1.log").arg(i));
    }
    names[0] = QStringLiteral("/logs/") + QString(5000, u'x'); // any length survives
    store(temp.store(), names);
    temp.store().writeSetting(QStringLiteral("MRUCnt"), QStringLiteral("2000000000"));
    RecentFiles recent(temp.store());
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(recent.load(), names.first(RecentFiles::loadLimit));
    EXPECT_LT(timer.elapsed(), 10'000);
    recent.save();
    EXPECT_EQ(RecentFiles(temp.store()).load(), names.first(RecentFiles::loadLimit));
}
