#include "app/RecentFiles.h"

#include "support/TempSettings.h"

#include <gtest/gtest.h>

using ombrel::RecentFiles;
using ombrel::test::TempSettings;

namespace {
// Settings holding names as the recent-files list, with the count given or their number.
void store(TempSettings& temp, const QStringList& names, const QString& count = {}) {
    temp.store().writeSetting(u"MRUCnt"_qs, count.isNull() ? QString::number(names.size()) : count);
    for (qsizetype i = 0; i < names.size(); ++i) {
        temp.store().writeSetting(u"MRU%1"_qs.arg(i), names[i]);
    }
}
} // namespace

TEST(RecentFiles, FourStartsKeepTheLastThreeAndDuplicatesMatchCase) {
    TempSettings temp;
    RecentFiles recent(temp.store());
    EXPECT_TRUE(recent.load().isEmpty());
    const QStringList four = {u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(recent.add(four[i]), i);
    }
    EXPECT_EQ(recent.entries(), four.sliced(1));
    EXPECT_EQ(recent.add(u"c"_qs), std::nullopt); // known: nothing changes
    EXPECT_EQ(recent.entries(), four.sliced(1));
    // The box still holds a, so the next addition lands before d; case matters.
    EXPECT_EQ(recent.add(u"C"_qs), 3);
    recent.save();
    EXPECT_EQ(RecentFiles(temp.store()).load(), (QStringList{u"c"_qs, u"d"_qs, u"C"_qs}));
    EXPECT_EQ(temp.store().readSetting(u"MRUCnt"_qs), u"3"_qs);
}

TEST(RecentFiles, StoredListsKeepTheirLengthAndBadCountsOrMissingEntriesGiveNone) {
    TempSettings five;
    store(five, {u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs, u"5"_qs});
    RecentFiles recent(five.store());
    EXPECT_EQ(recent.load().size(), 5);
    EXPECT_EQ(recent.add(u"6"_qs), 5);
    EXPECT_EQ(recent.entries(), (QStringList{u"2"_qs, u"3"_qs, u"4"_qs, u"5"_qs, u"6"_qs}));

    // A close without a Start saves the loaded list and leaves higher entries.
    TempSettings two;
    store(two, {u"x"_qs, u"y"_qs, u"z"_qs, u"old"_qs}, u"2"_qs);
    RecentFiles loaded(two.store());
    EXPECT_EQ(loaded.load(), (QStringList{u"x"_qs, u"y"_qs}));
    loaded.save();
    EXPECT_EQ(two.store().readSetting(u"MRUCnt"_qs), u"2"_qs);
    EXPECT_EQ(two.store().readSetting(u"MRU3"_qs), u"old"_qs);

    TempSettings gaps({{"MRU0", "first"}, {"MRU2", "third"}});
    RecentFiles skipping(gaps.store());
    EXPECT_TRUE(skipping.load().isEmpty()); // no count
    for (const char* count : {"none", "-3"}) {
        gaps.set({{"MRUCnt", count}});
        EXPECT_TRUE(skipping.load().isEmpty()) << count;
    }
    gaps.set({{"MRUCnt", "3 entries"}});
    EXPECT_EQ(skipping.load(), (QStringList{u"first"_qs, u"third"_qs}));
}

TEST(RecentFiles, HugeStoredCountIsCappedAndLongNamesSurvive) {
    TempSettings temp;
    QStringList names;
    for (int i = 0; i < RecentFiles::loadLimit + 3; ++i) {
        names.append(u"/logs/%1.log"_qs.arg(i));
    }
    names[0] = u"/logs/"_qs + QString(5000, u'x'); // any length survives
    store(temp, names, u"2000000000"_qs);          // read up to the cap, not two billion times
    RecentFiles recent(temp.store());
    EXPECT_EQ(recent.load(), names.first(RecentFiles::loadLimit));
    recent.save();
    EXPECT_EQ(RecentFiles(temp.store()).load(), names.first(RecentFiles::loadLimit));
}
