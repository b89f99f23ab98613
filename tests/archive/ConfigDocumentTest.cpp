#include "archive/ConfigDocument.h"

#include "ArchiveTestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ombrel;
using namespace ombrel::test;
using testing::ElementsAre;

namespace {

ConfigDocument documentOf(QByteArrayView text) {
    ConfigDocument document;
    document.loadText(text);
    return document;
}

std::optional<QString> q(const char* text) {
    return QString::fromUtf8(text);
}

const QString credits = QStringLiteral("//Credits");
const QString times = QStringLiteral("//Time");

} // namespace

TEST(ConfigDocument, LooksUpTrimmedTextsInDocumentOrder) {
    const ConfigDocument document = documentOf(R"(<?xml version="1.0"?>
<Root>
  <A><B><C><D><Credits>deep first</Credits></D></C></B></A>
  <Credits>second</Credits>
  <Time>5</Time>
  <Group><Time>
    10 </Time></Group>
  <Empty></Empty>
  <Time>60</Time>
  <About>
    \tOmbrel\nby <b>us</b> &amp; <![CDATA[<friends>]]>
  </About>
</Root>)");
    EXPECT_EQ(document.text(credits), q("deep first"));
    EXPECT_THAT(document.texts(times), ElementsAre(u"5"_qs, u"10"_qs, u"60"_qs));
    EXPECT_EQ(document.text(QStringLiteral("//Group")), q("10"));
    EXPECT_EQ(document.text(QStringLiteral("//Empty")), q(""));
    EXPECT_EQ(document.text(QStringLiteral("//ForumURL")), std::nullopt);
    EXPECT_TRUE(document.texts(QStringLiteral("//Missing")).isEmpty());
    // All character data counts; backslash sequences stay for the about box to expand.
    EXPECT_EQ(document.text(QStringLiteral("//About")), q("\\tOmbrel\\nby us & <friends>"));

    // The text ends at its first NUL byte, so one inside an element spoils it.
    const QByteArray bytes("<Root><Time>1</Time></Root>\0<Time>2</Time>", 43);
    EXPECT_THAT(documentOf(bytes).texts(times), ElementsAre(u"1"_qs));
    EXPECT_TRUE(documentOf(QByteArray("<Root><Time>1</Ti\0me></Root>", 28)).isEmpty());
}

TEST(ConfigDocument, FaultyInputGivesAnEmptyDocument) {
    for (const char* text : {"", "<Root><Time>1</Time>", "<a/><b/>", "<a/>text"}) {
        EXPECT_TRUE(documentOf(text).texts(times).isEmpty()) << text;
    }
    // A pattern that selects no nodes finds nothing rather than failing.
    const ConfigDocument good = documentOf("<Root><Time>1</Time></Root>");
    EXPECT_TRUE(good.texts(QStringLiteral("//[")).isEmpty());
    EXPECT_EQ(good.text(QStringLiteral("count(//Time)")), std::nullopt);
    // Loading a faulty text replaces an earlier good one.
    ConfigDocument replaced = documentOf("<Root><Time>1</Time></Root>");
    replaced.loadText("<broken");
    EXPECT_TRUE(replaced.texts(times).isEmpty());
}

TEST(ConfigDocument, LoadsConfigXmlFromAnArchiveAndIsEmptyWithoutOne) {
    TempFiles files;
    const QString with =
        files.write(u"with.omf"_qs, archiveOf({{"config.xml", "<C><Time>3</Time></C>"}}));
    ConfigDocument document;
    document.load(with);
    EXPECT_THAT(document.texts(times), ElementsAre(u"3"_qs));
    for (const QString& other :
         {files.write(u"without.omf"_qs, archiveOf({{"images\\about.bmp", "BM"}})),
          files.path(u"missing.omf"_qs)}) {
        document.load(with);
        document.load(other);
        EXPECT_TRUE(document.texts(times).isEmpty());
    }
}
