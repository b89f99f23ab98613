#include "display/KeywordList.h"

#include "display/KeywordFlags.h"
#include "support/TempSettings.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace ombrel {
namespace {

using namespace Qt::StringLiterals;

TEST(KeywordList, EachLoadReplacesTheListSplitAtSeparatorsKeepingKeywordsAsStored) {
    QStringList thirty; // over 300 characters stored: none cut or ignored
    for (int i = 0; i < 30; ++i) {
        thirty.append(u"keyword%1"_s.arg(i, 2, 10, QChar(u'0')));
    }
    const std::pair<QString, QStringList> cases[] = {
        {u"ERROR"_s, {u"ERROR"_s}},
        {u";;ERROR"_s, {u"ERROR"_s}},
        {u"ERROR;;;;WARN;;"_s, {u"ERROR"_s, u"WARN"_s}},
        {u"a;;;b"_s, {u"a"_s, u";b"_s}}, // separators are taken left to right
        {u";;"_s, {}},
        {u" fail ;;Fail;;fail;; fail "_s, {u" fail "_s, u"Fail"_s, u"fail"_s, u" fail "_s}},
        {thirty.join(u";;"_s), thirty},
        {QString(), {}},
    };
    test::TempSettings settings;
    KeywordList list;
    list.replace({u"old"_s});
    list.loadKeywords(settings.store()); // no value at all
    EXPECT_TRUE(list.snapshot().isEmpty());
    for (const auto& [stored, expected] : cases) {
        settings.store().writeSetting(u"Keywords"_s, stored);
        list.loadKeywords(settings.store());
        EXPECT_EQ(list.snapshot(), expected) << stored.toStdString();
    }
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

TEST(KeywordFlags, EachFlagReadsItsOwnSetting) {
    test::TempSettings settings({{"Highlight", "1"}, {"ShowWithout", "1"}});
    const KeywordFlags flags = KeywordFlags::load(settings.store());
    EXPECT_EQ(
        std::tuple(flags.highlightKeywords, flags.showOnlyMatching, flags.showWithoutMatching),
        std::tuple(true, false, true));
}

} // namespace
} // namespace ombrel
