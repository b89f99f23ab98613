#include "support/TempSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QThread>
#include <gtest/gtest.h>
#include <thread>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using ombrel::SettingsStore;
using ombrel::test::TempSettings;

TEST(SettingsStore, FlagIsOnOnlyForTheExactTextOneAndNumbersAreLeadingDecimals) {
    TempSettings temp({{"Hide", " 1"}, {"Size", "250 bytes"}, {"Beep", "1"}});
    const auto& store = temp.store();
    EXPECT_FALSE(store.readFlag(QStringLiteral("Hide")));
    EXPECT_EQ(store.readNumber(QStringLiteral("Hide")), 1);
    EXPECT_EQ(store.readNumber(QStringLiteral("Size")), 250);
    EXPECT_TRUE(store.readFlag(QStringLiteral("Beep")));
    EXPECT_FALSE(store.readFlag(QStringLiteral("Missing")));
    EXPECT_EQ(store.readNumber(QStringLiteral("Missing")), std::nullopt);
}

TEST(SettingsStore, WriteReportsAFailureAndWhy) {
    TempSettings temp;
    // A file where the settings folder should be.
    const QString blocked = QFileInfo(temp.path()).absolutePath() + u"/file"_qs;
    QFile(blocked).open(QIODevice::WriteOnly);
    const std::pair<QString, QString> cases[] = {
        {u"/proc/no-such-dir/Ombrel.conf"_qs, u"No such file or directory"_qs},
        {blocked + u"/Ombrel.conf"_qs, u"Not a directory"_qs},
    };
    for (const auto& [path, reason] : cases) {
        const auto store = SettingsStore::atFile(path);
        const ombrel::SettingsWrite written =
            store.writeSetting(QStringLiteral("Beep"), QStringLiteral("1"));
        EXPECT_FALSE(written);
        EXPECT_TRUE(written.reason().startsWith(reason)) << written.reason().toStdString();
        EXPECT_EQ(store.readSetting(QStringLiteral("Beep")), std::nullopt);
    }
    EXPECT_EQ(temp.store().writeSetting(u"Beep"_qs, u"1"_qs).reason(), QString());
}

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

TEST(SettingsStore, AHandWrittenValueReadsAsWrittenAfterTheFirstEqualsSignAtTheNextRead) {
    TempSettings temp({{"Keywords", "old"}});
    EXPECT_EQ(temp.store().readSetting(QStringLiteral("Keywords")), QStringLiteral("old"));
    // Rewritten behind the store's back, as another copy of the program or a user would.
    QThread::msleep(20);
    writeBytes(temp.path(), "; written by hand\n"
                            "# and commented\n"
                            "[General]\r\n"
                            "Keywords=ERROR;;three\r\n"
                            "Editor=/opt/ed\\tools/ed\n"
                            "List=a, b,c # not a comment\n"
                            "Spaced =  x = y \t\n"
                            "Quoted=\"a;b\\\\c \\\"d\\\"\\t\"\n"
                            "Empty=\n"
                            "[Other]\n"
                            "Keywords=not these\n");
    // Expected values; null for none.
    const std::pair<const char*, const char*> cases[] = {{"Keywords", "ERROR;;three"},
                                                         {"Editor", "/opt/ed\\tools/ed"},
                                                         {"List", "a, b,c # not a comment"},
                                                         {"Spaced", "x = y"},
                                                         {"Quoted", "a;b\\c \"d\"\t"},
                                                         {"Empty", ""},
                                                         {"Missing", nullptr},
                                                         {"keywords", nullptr}};
    for (const auto& [name, expected] : cases) {
        const auto value = temp.store().readSetting(QString::fromLatin1(name));
        EXPECT_EQ(value, expected ? std::optional(QString::fromUtf8(expected)) : std::nullopt)
            << name;
    }
}

TEST(SettingsStore, AWriteChangesOnlyTheLineOfItsValue) {
    const QByteArray handWritten = "# my settings\n"
                                   "[General]\n"
                                   "Keywords = ERROR;;three   \n"
                                   "; the editor\n"
                                   "Editor=/opt/ed\\tools/ed\n"
                                   "MRU0=\"/tmp/a;b\"\n"
                                   "\n"
                                   "[Colours]\n"
                                   "Error=#ff0000\n";
    const struct {
        QByteArray before;
        const char* name;
        QString text;
        QByteArray after;
    } cases[] = {
        {handWritten, "Keywords", QStringLiteral("WARN;;x"),
         QByteArray(handWritten).replace("ERROR;;three   ", "WARN;;x")},
        {handWritten, "MRU0", QStringLiteral("/tmp/a;b"), handWritten}, // same value: left alone
        {handWritten, "MRUCnt", QStringLiteral("1"),
         QByteArray(handWritten).replace("b\"\n", "b\"\nMRUCnt=1\n")},
        {"[Colours]\nError=#ff0000", "Beep", QStringLiteral("1"),
         "[Colours]\nError=#ff0000\n[General]\nBeep=1\n"},
        {"[General]\r\nHide=0\r\n", "Beep", QStringLiteral("1"),
         "[General]\r\nHide=0\r\nBeep=1\r\n"},
        {"Hide=0\n[Other]\nx=1\n", "Beep", QStringLiteral("1"), "Hide=0\nBeep=1\n[Other]\nx=1\n"},
    };
    for (const auto& c : cases) {
        TempSettings temp;
        writeBytes(temp.path(), c.before);
        EXPECT_TRUE(temp.store().writeSetting(QString::fromLatin1(c.name), c.text));
        EXPECT_EQ(fileBytes(temp.path()), c.after) << c.before.toStdString();
    }
}

TEST(SettingsStore, AwkwardValuesAreWrittenSoTheyReadBackExactly) {
    // The program writes a value as it is when it reads back the same, else quoted with escapes.
    const QString longText = QStringLiteral(";;word, with = and \"quotes\"").repeated(300);
    const std::pair<QString, QByteArray> cases[] = {
        {longText, longText.toUtf8()},
        {QStringLiteral("/opt/ed\\tools/ed"), "/opt/ed\\tools/ed"},
        {QStringLiteral("\"quoted\""), "\"\\\"quoted\\\"\""},
        {QStringLiteral(" lead"), "\" lead\""},
        {QStringLiteral("line\nnext\r\n"), "\"line\\nnext\\r\\n\""},
        {QString::fromUtf16(u"\u0001a\u007f"), "\"\\x1\\x61\\x7f\""},
        {QString(QChar(0)) + u'7', "\"\\x0\\x37\""},
    };
    TempSettings temp;
    for (const auto& [value, written] : cases) {
        ASSERT_TRUE(temp.store().writeSetting(QStringLiteral("Value"), value));
        EXPECT_EQ(temp.store().readSetting(QStringLiteral("Value")), value) << written.data();
        EXPECT_TRUE(fileBytes(temp.path()).contains(QByteArray("\nValue=") + written + '\n'))
            << fileBytes(temp.path()).toStdString();
    }
}

TEST(SettingsStore, AValueWrittenByQtsIniWriterReadsTheSame) {
    // Older versions wrote recent files through Qt, which quotes and escapes differently.
    const QString values[] = {u"trail "_qs, u"/tmp/a;\\b\"c\"\td"_qs, u"x;\nnext\r"_qs,
                              u"Ärger;日本語"_qs, u"#x"_qs};
    TempSettings temp;
    {
        QSettings qt(temp.path(), QSettings::IniFormat);
        for (int i = 0; i < std::ssize(values); ++i) {
            qt.setValue(QStringLiteral("MRU%1").arg(i), values[i]);
        }
    }
    for (int i = 0; i < std::ssize(values); ++i) {
        EXPECT_EQ(temp.store().readSetting(QStringLiteral("MRU%1").arg(i)), values[i]) << i;
    }
}

#ifndef Q_OS_WIN // the registry there
TEST(SettingsStore, TheUsersStoreIsTheFileQSettingsKeepsItIn) {
    EXPECT_EQ(SettingsStore::user().filePath(),
              QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Dravik"),
                        QStringLiteral("Ombrel"))
                  .fileName());
}
#else
TEST(SettingsStore, TheUsersStoreIsTheRegistryKeyOfTextValues) {
    const SettingsStore store = SettingsStore::user();
    EXPECT_TRUE(store.filePath().isEmpty());
    // A name of this run's own, removed at the end: the key may hold the user's options.
    const QString name = QStringLiteral("Test%1").arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(store.writeSetting(name, QStringLiteral("1")));
    EXPECT_TRUE(store.readFlag(name));
    DWORD type = 0;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Dravik\\Ombrel",
                           reinterpret_cast<const wchar_t*>(name.utf16()), RRF_RT_ANY, &type,
                           nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    // A number stored as REG_DWORD is no text, so never a flag.
    QSettings key(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Dravik"),
                  QStringLiteral("Ombrel"));
    key.setValue(name, 1);
    key.sync();
    EXPECT_EQ(store.readSetting(name), std::nullopt);
    EXPECT_FALSE(store.readFlag(name));
    key.remove(name);
}
#endif

TEST(SettingsStore, TwoCopiesWritingAtOnceLoseNoValue) {
    TempSettings temp;
    constexpr int perWriter = 20;
    const auto writeAll = [&temp](char writer) {
        const auto store = SettingsStore::atFile(temp.path());
        for (int i = 0; i < perWriter; ++i) {
            EXPECT_TRUE(
                store.writeSetting(QStringLiteral("%1%2").arg(writer).arg(i), QString::number(i)));
        }
    };
    std::thread other(writeAll, 'A');
    writeAll('B');
    other.join();
    for (const char writer : {'A', 'B'}) {
        for (int i = 0; i < perWriter; ++i) {
            EXPECT_EQ(temp.store().readNumber(QStringLiteral("%1%2").arg(writer).arg(i)), i);
        }
    }
}
