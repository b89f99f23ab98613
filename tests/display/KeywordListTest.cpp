#include "display/KeywordList.h"

#include "display/KeywordFlags.h"
#include "support/TempSettings.h"

#include <atomic>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <thread>

namespace ombrel {
namespace {

using namespace Qt::StringLiterals;
using testing::ElementsAre;
using testing::IsEmpty;

QStringList loadedFrom(const QString& stored) {
    test::TempSettings settings;
    settings.store().writeSetting(QStringLiteral("Keywords"), stored);
    KeywordList list;
    list.loadKeywords(settings.store());
    return list.snapshot();
}

TEST(KeywordList, SplitsAtSeparatorsKeepingKeywordsAsStored) {
    QStringList thirty;
    for (int i = 0; i < 30; ++i) {
        thirty.append(u"keyword%1"_s.arg(i, 2, 10, QChar(u'0')));
    }
    ASSERT_GE(thirty.join(u";;"_s).size(), 300); // longer values are not cut or ignored
    const std::pair<QString, QStringList> cases[] = {
        {u"ERROR"_s, {u"ERROR"_s}},
        {u";;ERROR"_s, {u"ERROR"_s}},
        {u"ERROR;;;;WARN;;"_s, {u"ERROR"_s, u"WARN"_s}},
        {u"a;;;b"_s, {u"a"_s, u";b"_s}}, // separators are taken left to right
        {u";;"_s, {}},
        {QString(), {}},
        {u" fail ;;Fail;;fail;; fail "_s, {u" fail "_s, u"Fail"_s, u"fail"_s, u" fail "_s}},
        {thirty.join(u";;"_s), thirty},
    };
    for (const auto& [stored, expected] : cases) {
        EXPECT_EQ(loadedFrom(stored), expected) << stored.toStdString();
    }
}

TEST(KeywordList, ReloadReplacesWholeList) {
    test::TempSettings settings;
    KeywordList list;
    list.replace({u"old"_s});
    list.loadKeywords(settings.store()); // no value at all
    EXPECT_THAT(list.snapshot(), IsEmpty());
    settings.store().writeSetting(u"Keywords"_s, u"a;;b"_s);
    list.loadKeywords(settings.store());
    const QStringList before = list.snapshot();
    settings.store().writeSetting(u"Keywords"_s, u"c"_s);
    list.loadKeywords(settings.store());
    EXPECT_THAT(list.snapshot(), ElementsAre(u"c"_s));
    EXPECT_THAT(before, ElementsAre(u"a"_s, u"b"_s)); // a copy taken earlier is untouched
}

TEST(KeywordList, SnapshotsWhileReloadingStayWhole) {
    KeywordList list;
    const QStringList first = {u"alpha"_s, u"beta"_s};
    const QStringList second = {u"gamma"_s, u"delta"_s, u"epsilon"_s};
    std::atomic<bool> stop{false};
    std::thread reloader([&] {
        for (int i = 0; !stop; ++i) {
            list.replace(i % 2 == 0 ? first : second);
        }
    });
    for (int i = 0; i < 20000; ++i) {
        const QStringList copy = list.snapshot();
        ASSERT_TRUE(copy.isEmpty() || copy == first || copy == second);
    }
    stop = true;
    reloader.join();
}

TEST(KeywordFlags, OnOnlyForTheTextOne) {
    test::TempSettings settings;
    settings.store().writeSetting(u"Highlight"_s, u"1"_s);
    settings.store().writeSetting(u"ShowOnly"_s, u"1 "_s);
    const KeywordFlags flags = KeywordFlags::load(settings.store());
    EXPECT_TRUE(flags.highlightKeywords);
    EXPECT_FALSE(flags.showOnlyMatching);
    EXPECT_FALSE(flags.showWithoutMatching); // missing
}

} // namespace
} // namespace ombrel
