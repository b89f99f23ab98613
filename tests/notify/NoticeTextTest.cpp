#include "notify/NoticeText.h"

#include <gtest/gtest.h>

using namespace ombrel;
using namespace Qt::StringLiterals;

TEST(NoticeText, LogTextIsPlainCutAndNeverMarkup) {
    const QString emoji = u"\U0001F600"_s;
    const QString replacement(QChar::ReplacementCharacter);
    const struct {
        QString text, plain;
    } cases[] = {
        {u"a\tb"_s, u"a b"_s},
        {u"nul\0 bell\a esc\x1b del\x7f c1\u0085 ls\u2028"_s,
         u"nul%1 bell%1 esc%1 del%1 c1%1 ls%1"_s.arg(replacement)},
        {QString(QChar(0xD800)) + u"x"_s + QChar(0xDC00) + QChar(0xFFFE) + u"\U0010FFFF"_s,
         replacement + u"x"_s + replacement + replacement + replacement},
        {QString(200, u'a'), QString(200, u'a')},
        {QString(201, u'a'), QString(200, u'a') + u"…"_s},
        {QString(199, u'a') + emoji + u"b"_s, QString(199, u'a') + emoji + u"…"_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NoticeText::plain(c.text), c.plain) << c.text.toStdString();
    }
    EXPECT_EQ(NoticeText::escaped(u"<b>&amp;</b> <a href=\"x\">"_s),
              u"&lt;b&gt;&amp;amp;&lt;/b&gt; &lt;a href=\"x\"&gt;"_s);
    EXPECT_EQ(NoticeText::summary(u"/var/log/a\nb"_s), u"Ombrel: /var/log/a%1b"_s.arg(replacement));
}

TEST(NoticeText, TheBodyNamesThreeLinesAndCountsTheRest) {
    const QStringList four{u"1 <i>"_s, u"2"_s, u"3"_s, u"4"_s};
    EXPECT_EQ(NoticeText::body(four, 0, 0), u"1 &lt;i&gt;\n2\n3\nand 1 more marked line"_s);
    EXPECT_EQ(NoticeText::body({u"x"_s}, 2, 1), u"x\nand 2 more marked lines\n1 more change"_s);
    EXPECT_EQ(NoticeText::body({}, 0, 7), u"7 more changes"_s);
    // A megabyte of markup and controls is a short body, still valid UTF-8 text.
    const QString huge = QString(1 << 20, u'<') + QChar(0xDC00);
    const QString body = NoticeText::body({huge}, 0, 0);
    EXPECT_EQ(body, u"&lt;"_s.repeated(200) + u"…"_s);
    EXPECT_EQ(QString::fromUtf8(body.toUtf8()), body);
}
