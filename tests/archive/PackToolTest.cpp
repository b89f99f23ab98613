#include "ArchiveTestFiles.h"
#include "archive/ConfigDocument.h"

#include <QFile>
#include <QProcess>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ombrel;
using namespace ombrel::test;

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun pack(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(OMBREL_PACK_TOOL), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

TEST(PackTool, CreateListAndExtractRoundTrip) {
    TempFiles files;
    QByteArray picture;
    for (int i = 0; i < 20000; ++i) {
        picture += static_cast<char>(i * 7 / 100);
    }
    const QString pictureFile = files.write(u"pic.bmp"_qs, picture);
    const QString textFile = files.write(u"config.xml"_qs, "<Config><Time>1</Time></Config>\n");
    const QString emptyFile = files.write(u"empty"_qs, "");
    const QString archive = files.path(u"out.omf"_qs);
    const ToolRun created =
        pack({u"create"_qs, archive, u"images\\splash.bmp="_qs + pictureFile, u"--tag"_qs,
              u"20001"_qs, u"delta16="_qs + pictureFile, u"--tag"_qs, u"0"_qs,
              u"config.xml="_qs + textFile, u"empty="_qs + emptyFile});
    ASSERT_EQ(created.exitCode, 0) << created.err.constData();

    // The listing is text: its lines end as the platform's text does (CR LF on Windows).
    EXPECT_EQ(pack({u"list"_qs, archive}).out.replace("\r\n", "\n"),
              "images\\splash.bmp\t20000\t0x00000001\n"
              "delta16\t20000\t0x00020001\n"
              "config.xml\t32\t0x00000000\n"
              "empty\t0\t0x00000000\n");

    for (const QString& name : {u"images\\splash.bmp"_qs, u"delta16"_qs}) {
        EXPECT_EQ(pack({u"extract"_qs, archive, name}).out, picture) << name.toStdString();
    }
    const QString back = files.path(u"back.xml"_qs);
    ASSERT_EQ(pack({u"extract"_qs, archive, u"config.xml"_qs, back}).exitCode, 0);
    QFile written(back);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "<Config><Time>1</Time></Config>\n");
    const ToolRun empty = pack({u"extract"_qs, archive, u"empty"_qs});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_TRUE(empty.out.isEmpty());
}

TEST(PackTool, ExtractWritesTheReportedSizeAndFailuresExitNonZeroWithAMessageAndWriteNothing) {
    TempFiles files;
    const QString text = files.write(u"text.txt"_qs, "just text");
    const QString archive = files.write(
        u"tags.omf"_qs,
        rawArchive(block("abc"),
                   {{"filtered", 3, 12, 0x40000}, {"long", 10, 12, 0}, {"short", 2, 12, 0}}));
    EXPECT_EQ(pack({u"extract"_qs, archive, u"long"_qs}).out,
              QByteArray("abc") + QByteArray(7, '\0'));
    EXPECT_EQ(pack({u"extract"_qs, archive, u"short"_qs}).out, "ab");
    const QString out = files.path(u"new.omf"_qs);
    const struct {
        QStringList arguments;
        int exitCode;
        const char* message;
    } cases[] = {
        {{u"extract"_qs, text, u"config.xml"_qs}, 1, "cannot open"},
        {{u"extract"_qs, archive, u"absent"_qs}, 1, "no member \"absent\""},
        {{u"extract"_qs, archive, u"filtered"_qs, out}, 1, "cannot read or decode"},
        {{u"create"_qs, out, u"--tag"_qs, u"40000"_qs, u"x="_qs + text}, 1, ""},
        {{u"create"_qs, out, u"x="_qs + files.path(u"missing"_qs)}, 1, ""},
        {{u"create"_qs, out, u"--tag"_qs, u"xyz"_qs, u"x="_qs + text}, 2, ""},
        {{u"create"_qs, out, u"no-equals-sign"_qs}, 2, ""},
        {{}, 2, ""},
    };
    for (const auto& [arguments, exitCode, message] : cases) {
        const ToolRun run = pack(arguments);
        EXPECT_EQ(run.exitCode, exitCode) << arguments.join(u' ').toStdString();
        EXPECT_THAT(run.err.toStdString(), testing::HasSubstr(message));
        EXPECT_FALSE(run.err.isEmpty());
        EXPECT_FALSE(QFile::exists(out));
    }
}

// Its pictures are checked by the splash and about box tests.
TEST(ProgramArchive, HoldsTheConfiguration) {
    ConfigDocument config;
    config.load(QStringLiteral(OMBREL_PROGRAM_ARCHIVE));
    for (const char* name :
         {"//Time", "//Credits", "//WebsiteURL", "//ForumURL", "//EmailSupport"}) {
        EXPECT_TRUE(config.text(QString::fromLatin1(name)).has_value()) << name;
    }
}
