#include "options/OptionValues.h"

#include "app/SettingsFlags.h"
#include "support/TempSettings.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace ombrel;

TEST(OptionValues, KeywordLinesAreJoinedAsStoredFilesExpect) {
    const struct {
        const char* edit;
        const char* stored;
    } cases[] = {
        {"A\nB\n", "A;;B"}, {"\nA\n", ";;A"},         {"\n\n", ""},
        {"A\n\nB", "A;;B"}, {"x;y\n\\z", "x;y;;\\z"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeywordValues::storedKeywords(QString::fromUtf8(c.edit)),
                  QString::fromUtf8(c.stored))
            << c.edit;
    }
    EXPECT_EQ(KeywordValues::editTextOf(QStringLiteral(";;A;;;;B")), QStringLiteral("A\nB\n"));
}

TEST(OptionValues, LoadAndSaveKeepWhatTheyDoNotUnderstandOnlyAsTheDialogShowsIt) {
    const QString longKeyword(5000, u'k');
    test::TempSettings temp({{"Beep", "yes"}, {"CheckSize", ""}});
    const SettingsStore& store = temp.store();
    store.writeSetting(QStringLiteral("Keywords"), QStringLiteral("ERROR;;") + longKeyword);

    BehaviorValues behavior = BehaviorValues::load(store);
    EXPECT_FALSE(behavior.beep);
    behavior.save(store);
    EXPECT_EQ(store.readSetting(QStringLiteral("Beep")), QStringLiteral("0"));
    EXPECT_EQ(store.readSetting(QStringLiteral("CheckSize")), QString());
    EXPECT_EQ(store.readSetting(QStringLiteral("Editor")), QString());

    // Notify: files from before it tell of keywords; an unknown text is shown, and saved, so.
    for (const auto& [stored, choice, saved] :
         {std::tuple{"", NotifyChoice::Keywords, "1"}, std::tuple{"0", NotifyChoice::Off, "0"},
          std::tuple{"2", NotifyChoice::EveryChange, "2"},
          std::tuple{" 2", NotifyChoice::Keywords, "1"},
          std::tuple{"3", NotifyChoice::Keywords, "1"}}) {
        if (*stored != 0) {
            temp.set({{"Notify", stored}});
        }
        behavior = BehaviorValues::load(store);
        EXPECT_EQ(behavior.notify, choice) << stored;
        EXPECT_EQ(SettingsFlags::load(store).notify, choice) << stored;
        behavior.save(store);
        EXPECT_EQ(store.readSetting(QStringLiteral("Notify")), QString::fromLatin1(saved));
    }

    const KeywordValues keywords = KeywordValues::load(store);
    EXPECT_EQ(keywords.editText, QStringLiteral("ERROR\n") + longKeyword + u'\n');
    keywords.save(store);
    EXPECT_EQ(store.readSetting(QStringLiteral("Keywords")),
              QStringLiteral("ERROR;;") + longKeyword);
}

TEST(OptionValues, OkChangesTheRunningFlagsOfThePagesShownButNeverHide) {
    SettingsFlags flags;
    flags.keywords = {true, true, false};
    OptionsResult result;
    result.behavior = BehaviorValues{true, true, true, true, true, true, {}, {}, NotifyChoice::Off};
    result.applyTo(flags);
    EXPECT_TRUE(flags.beepOnChange && flags.flashOnChange && flags.showTrayIcon &&
                flags.minimizeToTray && flags.keepPlacement);
    EXPECT_EQ(flags.notify, NotifyChoice::Off);
    EXPECT_TRUE(flags.keywords.showOnlyMatching); // Keywords page never shown

    result.keywords = KeywordValues{false, false, true, {}};
    result.applyTo(flags);
    EXPECT_FALSE(flags.keywords.highlightKeywords);
    EXPECT_FALSE(flags.keywords.showOnlyMatching);
    EXPECT_TRUE(flags.keywords.showWithoutMatching);
}
