#include "app/StatusBar.h"

#include "app/ElidedLabel.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace ombrel;

TEST(StatusBar, ACutMessageEndsInAnEllipsisAfterWholeWordsAndKeepsItsWholeText) {
    const QString status =
        QStringLiteral("Update: Mon Dec  7 02:11:42 2026\n   Filesize: 10485760   Lines: 141830");
    const QString oneLine = QString(status).replace(u'\n', u' ');
    StatusBar bar;
    bar.setPaneText(StatusBar::messagePane, status);
    auto* pane = bar.findChild<ElidedLabel*>(QStringLiteral("messagePane"));
    ASSERT_NE(pane, nullptr);
    for (const int width : {2000, 250, 40, 5}) {
        bar.resize(width, bar.sizeHint().height());
        bar.show();
        QTest::qWait(5);
        const QString shown = pane->text();
        EXPECT_EQ(pane->toolTip(), oneLine);
        EXPECT_EQ(pane->accessibleName(), oneLine);
        if (shown == oneLine) {
            continue;
        }
        // Whatever is cut, each word shown is whole: no shorter number.
        ASSERT_TRUE(shown.endsWith(QChar(0x2026))) << width << ' ' << shown.toStdString();
        const QString kept = shown.chopped(1).trimmed();
        EXPECT_TRUE(oneLine.startsWith(kept) && (kept.isEmpty() || oneLine.at(kept.size()) == u' '))
            << width << ' ' << shown.toStdString();
        if (!kept.isEmpty()) {
            EXPECT_LE(pane->fontMetrics().horizontalAdvance(shown), pane->contentsRect().width())
                << width;
        }
    }
    EXPECT_NE(pane->text(), oneLine); // the narrowest bar cuts
}
