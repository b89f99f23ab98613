#include "display/AddressLinks.h"

#include <gtest/gtest.h>

using namespace ombrel;

TEST(AddressLinks, FindsTheAddressAroundAPositionWithoutItsPunctuation) {
    const QString text =
        QStringLiteral("see https://example.org/a?b=1. or <www.Example.org> FILE:///etc/passwd "
                       "javascript:alert(1) mailto:ops@example.org\nplain words ftp://host/x");
    const auto linkAt = [&](const char* inside) -> QString {
        const auto range = AddressLinks::at(text, text.indexOf(QString::fromLatin1(inside)));
        return range ? text.sliced(range->start, range->end - range->start) : QString();
    };
    EXPECT_EQ(linkAt("example.org/a"), QStringLiteral("https://example.org/a?b=1"));
    EXPECT_EQ(linkAt("https"), QStringLiteral("https://example.org/a?b=1"));
    EXPECT_EQ(linkAt("Example"), QStringLiteral("www.Example.org"));
    EXPECT_EQ(linkAt("ops@"), QStringLiteral("mailto:ops@example.org"));
    EXPECT_EQ(linkAt("host/x"), QStringLiteral("ftp://host/x")); // runs to the end of the text
    for (const char* notALink : {"FILE:", "javascript", "plain", "see", ". or"}) {
        EXPECT_EQ(linkAt(notALink), QString()) << notALink;
    }
    // In a display text only the characters near the position are read.
    const QByteArray far = QByteArray(10000, 'x') + " see http://a.org, " + QByteArray(9000, 'y');
    const auto inFar = [&far](qsizetype at) {
        return AddressLinks::inText(LogText::narrowed(QString::fromLatin1(far)), at);
    };
    EXPECT_EQ(inFar(far.indexOf("a.org")), (AddressRange{10005, 10017}));
    EXPECT_EQ(inFar(far.size() - 1), std::nullopt); // a run longer than any address
    EXPECT_EQ(AddressLinks::at(text, -1), std::nullopt);
    EXPECT_EQ(AddressLinks::at(text, text.size()), std::nullopt);
    EXPECT_EQ(AddressLinks::addressOf(QStringLiteral("www.a.org")),
              QStringLiteral("http://www.a.org"));
    EXPECT_EQ(AddressLinks::addressOf(QStringLiteral("FTP://a")), QStringLiteral("FTP://a"));
}

TEST(AddressLinks, AllFindsEveryAddressOnce) {
    const QString text = QStringLiteral("a http://x.org, b (www.y.org) mailto:z@q.org");
    const std::vector<AddressRange> expected = {{2, 14}, {19, 28}, {30, 44}};
    EXPECT_EQ(AddressLinks::all(text), expected);
    EXPECT_TRUE(AddressLinks::all(QStringLiteral("no links: http:// here")).empty());
}
