#include "app/RecentFiles.h"

#include "support/TempSettings.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using ombrel::RecentFiles;
using ombrel::test::TempSettings;

namespace {
QStringList files(std::initializer_list<const char*> names) {
    QStringList list;
    for (const char* name : names) {
        list.append(QString::fromUtf8(name));
    }
    return list;
}

// Settings holding names as the recent-files list, with the count given or their number.
void store(TempSettings& temp, const QStringList& names, const QString& count = {}) {
    temp.store().writeSetting(QStringLiteral("MRUCnt"),
                              count.isNull() ? QString::number(names.size()) : count);
    for (qsizetype i = 0; i < names.size(); ++i) {
        temp.store().writeSetting(QStringLiteral("MRU%1").arg(i), names[i]);
    }
}
} // namespace

TEST(RecentFiles, FourStartsKeepTheLastThreeAndDuplicatesMatchCase) {
    TempSettings temp;
    RecentFiles recent(temp.store());
    EXPECT_TRUE(recent.load().isEmpty());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(recent.add(files({"a.log", "b.log", "c.log", "d.log"})[i]), i);
    }
    EXPECT_EQ(recent.entries(), files({"b.log", "c.log", "d.log"}));
    EXPECT_EQ(recent.add(QStringLiteral("c.log")), std::nullopt); // known: nothing changes
    EXPECT_EQ(recent.entries(), files({"b.log", "c.log", "d.log"}));
    // The box still holds a.log, so the next addition lands before d.log; case matters.
    EXPECT_EQ(recent.add(QStringLiteral("C.log")), 3);
    recent.save();
    EXPECT_EQ(RecentFiles(temp.store()).load(), files({"c.log", "d.log", "C.log"}));
    EXPECT_EQ(temp.store().readSetting(QStringLiteral("MRUCnt")), QStringLiteral("3"));
}

TEST(RecentFiles, StoredListsKeepTheirLengthAndBadCountsOrMissingEntriesGiveNone) {
    TempSettings five;
    store(five, files({"1", "2", "3", "4", "5"}));
    RecentFiles recent(five.store());
    EXPECT_EQ(recent.load().size(), 5);
    EXPECT_EQ(recent.add(QStringLiteral("6")), 5);
    EXPECT_EQ(recent.entries(), files({"2", "3", "4", "5", "6"}));

    // A close without a Start saves the loaded list and leaves higher entries.
    TempSettings two;
    store(two, files({"x", "y", "z", "old"}), QStringLiteral("2"));
    RecentFiles loaded(two.store());
    EXPECT_EQ(loaded.load(), files({"x", "y"}));
    loaded.save();
    EXPECT_EQ(two.store().readSetting(QStringLiteral("MRUCnt")), QStringLiteral("2"));
    EXPECT_EQ(two.store().readSetting(QStringLiteral("MRU3")), QStringLiteral("old"));

    TempSettings gaps({{"MRU0", "first"}, {"MRU2", "third"}});
    RecentFiles skipping(gaps.store());
    EXPECT_TRUE(skipping.load().isEmpty()); // no count
    for (const char* count : {"none", "-3"}) {
        gaps.set({{"MRUCnt", count}});
        EXPECT_TRUE(skipping.load().isEmpty()) << count;
    }
    gaps.set({{"MRUCnt", "3 entries"}});
    EXPECT_EQ(skipping.load(), files({"first", "third"}));
}

TEST(RecentFiles, HugeStoredCountIsCappedAndLongNamesSurvive) {
    TempSettings temp;
    QStringList names;
    for (int i = 0; i < RecentFiles::loadLimit + 3; ++i) {
        names.append(QStringLiteral("/logs/%1.log").arg(i));
    }
    names[0] = QStringLiteral("/logs/") + QString(5000, u'x'); // any length survives
    store(temp, names, QStringLiteral("2000000000"));
    RecentFiles recent(temp.store());
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(recent.load(), names.first(RecentFiles::loadLimit));
    EXPECT_LT(timer.elapsed(), 10'000);
    recent.save();
    EXPECT_EQ(RecentFiles(temp.store()).load(), names.first(RecentFiles::loadLimit));
}
