#include "options/OptionsSheet.h"

#include "support/TempSettings.h"
#include "support/WindowTesting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

using namespace ombrel;

namespace {
template <typename T = QWidget> T* control(QWidget* page, int id) {
    return page->findChild<T*>(QStringLiteral("control%1").arg(id));
}
} // namespace

TEST(OptionsSheet, OkSavesOnlyThePagesShownAndCancelNothing) {
    test::TempSettings temp({{"Highlight", "yes"}});
    const SettingsStore& store = temp.store();
    {
        OptionsSheet sheet(store, false);
        control<QCheckBox>(sheet.page(0), 1019)->setChecked(true);
        sheet.reject();
    }
    EXPECT_EQ(store.readSetting(QStringLiteral("Beep")), std::nullopt);

    OptionsSheet sheet(store, false);
    control<QCheckBox>(sheet.page(0), 1019)->setChecked(true);
    auto* notify = control<QComboBox>(sheet.page(0), 1038);
    EXPECT_EQ(notify->currentText(), QStringLiteral("When a keyword appears")); // the default
    notify->setCurrentIndex(2);
    sheet.accept();
    EXPECT_EQ(store.readSetting(QStringLiteral("Beep")), QStringLiteral("1"));
    EXPECT_EQ(store.readSetting(QStringLiteral("Notify")), QStringLiteral("2"));
    EXPECT_EQ(sheet.saved().behavior->notify, NotifyChoice::EveryChange);
    EXPECT_EQ(store.readSetting(QStringLiteral("SysTray")), QStringLiteral("0"));
    EXPECT_EQ(store.readSetting(QStringLiteral("Highlight")), QStringLiteral("yes"));
    EXPECT_TRUE(sheet.saved().behavior.has_value());
    EXPECT_FALSE(sheet.saved().keywords.has_value());
    EXPECT_EQ(sheet.findChild<QTabWidget*>()->count(), 2);
    EXPECT_EQ(OptionsSheet(store, true).findChild<QTabWidget*>()->count(), 3);
}

TEST(OptionsSheet, ControlsFollowEachOtherAndAreNamed) {
    test::TempSettings temp({{"ShowOnly", "1"}});
    OptionsSheet sheet(temp.store(), true);
    sheet.show();
    QWidget* behavior = sheet.page(0);
    auto* minTray = control(behavior, 1028);
    EXPECT_FALSE(minTray->isEnabled());
    QTest::mouseClick(control(behavior, 1027), Qt::LeftButton);
    EXPECT_TRUE(minTray->isEnabled());
    auto* count = control<QLineEdit>(behavior, 1031);
    QTest::keyClicks(count, QStringLiteral("12a3"));
    EXPECT_EQ(count->text(), QStringLiteral("123"));

    QWidget* keywords = sheet.page(1);
    // Highlighting off: filters and keywords disabled but kept.
    EXPECT_FALSE(control(keywords, 1022)->isEnabled());
    EXPECT_TRUE(control<QCheckBox>(keywords, 1023)->isChecked());
    QTest::mouseClick(control(keywords, 1021), Qt::LeftButton);
    QTest::mouseClick(control(keywords, 1025), Qt::LeftButton);
    EXPECT_FALSE(control<QCheckBox>(keywords, 1023)->isChecked());
    QTest::mouseClick(control(keywords, 1023), Qt::LeftButton);
    EXPECT_FALSE(control<QCheckBox>(keywords, 1025)->isChecked());

    sheet.page(2);
    for (const QWidget* widget : sheet.findChildren<QWidget*>()) {
        if (widget->objectName().startsWith(u"control")) {
            EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
        }
    }
    EXPECT_EQ(control(keywords, 1022)->accessibleName(), QStringLiteral("Keywords"));
    EXPECT_EQ(control(behavior, 1024)->accessibleName(), QStringLiteral("Editor"));
    EXPECT_EQ(count->accessibleName(), QStringLiteral("Bytes to Display"));
    auto* notify = control<QComboBox>(behavior, 1038);
    EXPECT_EQ(notify->accessibleName(), QStringLiteral("Desktop notification"));
    const auto labels = behavior->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [&](const QLabel* label) {
        return label->buddy() == notify && label->text() == notify->accessibleName();
    }));
    for (const int tab : {0, 1, 2}) {
        sheet.findChild<QTabWidget*>()->setCurrentIndex(tab);
        test::saveScreenshot(sheet, QByteArray("options-" + QByteArray::number(tab)).constData());
    }
}

TEST(OptionsSheet, CtrlEnterStartsAKeywordAndEnterPressesOk) {
    test::TempSettings temp;
    OptionsSheet sheet(temp.store(), false);
    sheet.show();
    auto* edit = control<QPlainTextEdit>(sheet.page(1), 1022);
    edit->setEnabled(true);
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("A"));
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(edit, QStringLiteral("B"));
    EXPECT_TRUE(sheet.isVisible());
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(temp.store().readSetting(QStringLiteral("Keywords")), QStringLiteral("A;;B"));
}
