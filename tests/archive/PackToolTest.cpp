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

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QString arg(const char* text) {
    return QString::fromUtf8(text);
}

QString member(const char* name, const QString& path) {
    return arg(name) + u'=' + path;
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
        pack({arg("create"), archive, member("images\\splash.bmp", pictureFile), arg("--tag"),
              arg("20001"), member("delta16", pictureFile), arg("--tag"), arg("0"),
              member("config.xml", textFile), member("empty", emptyFile)});
    ASSERT_EQ(created.exitCode, 0) << created.err.constData();

    EXPECT_EQ(pack({arg("list"), archive}).out, "images\\splash.bmp\t20000\t0x00000001\n"
                                                "delta16\t20000\t0x00020001\n"
                                                "config.xml\t32\t0x00000000\n"
                                                "empty\t0\t0x00000000\n");

    for (const char* name : {"images\\splash.bmp", "delta16"}) {
        EXPECT_EQ(pack({arg("extract"), archive, arg(name)}).out, picture) << name;
    }
    ASSERT_EQ(
        pack({arg("extract"), archive, arg("config.xml"), files.path(u"back.xml"_qs)}).exitCode, 0);
    EXPECT_EQ(readFile(files.path(u"back.xml"_qs)), readFile(textFile));
    const ToolRun empty = pack({arg("extract"), archive, arg("empty")});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_TRUE(empty.out.isEmpty());
}

TEST(PackTool, ExtractWritesTheReportedSizeAndFailuresExitNonZeroWithAMessageAndWriteNothing) {
    TempFiles files;
    const QString text = files.write(u"text.txt"_qs, "just text");
    const QByteArray directory =
        directoryBytes({{"filtered", 3, 12, 0x40000}, {"long", 10, 12, 0}, {"short", 2, 12, 0}});
    const QString archive =
        files.write(u"tags.omf"_qs, rawArchive(block("abc"), directory,
                                               static_cast<std::int32_t>(directory.size())));
    EXPECT_EQ(pack({arg("extract"), archive, arg("long")}).out,
              QByteArray("abc") + QByteArray(7, '\0'));
    EXPECT_EQ(pack({arg("extract"), archive, arg("short")}).out, "ab");
    const QString out = files.path(u"new.omf"_qs);
    const struct {
        QStringList arguments;
        int exitCode;
        const char* message;
    } cases[] = {
        {{arg("extract"), text, arg("config.xml")}, 1, "cannot open"},
        {{arg("extract"), archive, arg("absent")}, 1, "no member \"absent\""},
        {{arg("extract"), archive, arg("filtered"), out}, 1, "cannot read or decode"},
        {{arg("create"), out, arg("--tag"), arg("40000"), member("x", text)}, 1, ""},
        {{arg("create"), out, member("x", files.path(u"missing"_qs))}, 1, ""},
        {{arg("create"), out, arg("--tag"), arg("xyz"), member("x", text)}, 2, ""},
        {{arg("create"), out, arg("no-equals-sign")}, 2, ""},
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
