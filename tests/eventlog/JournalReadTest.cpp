#include "eventlog/EventBlock.h"
#include "eventlog/JournalEntry.h"
#include "eventlog/JournalFiles.h"
#include "eventlog/SdJournalSource.h"
#include "support/TestJournal.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <ctime>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ombrel;
using ombrel::test::TestJournal;

namespace {

class JournalReadTest : public testing::Test {
protected:
    void SetUp() override {
        qputenv("TZ", "UTC0"); // the blocks show local time
        tzset();
    }
    static std::vector<test::JournalEntryFields> messages(int from, int to) {
        std::vector<test::JournalEntryFields> entries;
        for (int i = from; i <= to; ++i) {
            entries.push_back({{"MESSAGE", "m" + QByteArray::number(i)}});
        }
        return entries;
    }
    std::vector<EventRecord> newest(std::int64_t count, JournalKind kind = JournalKind::System,
                                    const QStringList& hosts = {}) const {
        SdJournalSource source({kind, journal_.directory(), hosts});
        return source.newest(count, stop_);
    }
    static QString numbersAndStrings(const std::vector<EventRecord>& records) {
        QStringList parts;
        for (const EventRecord& record : records) {
            parts << QString::number(record.number) + u':' + record.strings.join(u'|');
        }
        return parts.join(u' ');
    }

    TestJournal journal_;
    StopSignal stop_;
};

} // namespace

TEST_F(JournalReadTest, EachKindOfEntryGivesItsBlock) {
    ASSERT_TRUE(journal_.append({
        {{"PRIORITY", "3"},
         {"_PID", "42"},
         {"SYSLOG_IDENTIFIER", "sshd"},
         {"_COMM", "x"},
         {"MESSAGE", "hello"}},
        {{"PRIORITY", "4"}, {"_COMM", "cron"}, {"MESSAGE", "line one\nline two\n"}},
        {{"PRIORITY", "6"}, {"_SYSTEMD_UNIT", "x.service"}}, // no MESSAGE: no closing line
        {{"_TRANSPORT", "audit"}, {"MESSAGE", "op=login res=success"}},
        {{"_TRANSPORT", "audit"}, {"PRIORITY", "3"}, {"MESSAGE", "op=login res=failed"}},
        {{"PRIORITY", "7"}, {"_PID", "4194304"}, {"MESSAGE", "bad \xff byte"}},
        // Every line end in a source is a blank: it must not forge a type line. A message keeps
        // its own.
        {{"PRIORITY", "3"}, {"SYSLOG_IDENTIFIER", "evil\rEventType: Information"}},
        {{"_COMM", "a\r\nb\u2028c\u2029d\u0085e\uFDD0f\uFDD1g\vh\fi"}, {"MESSAGE", "x\ry"}},
    }));
    const QString expected = QStringLiteral(
        "01\tEvent ID: 42\tTime: Tue Nov 14 22:13:20 2023\nEventType: Error\tSource: sshd \n"
        "hello\n\n"
        "02\tEvent ID: 0\tTime: Tue Nov 14 22:13:21 2023\nEventType: Warning\tSource: cron \n"
        "line one\nline two\n\n"
        "03\tEvent ID: 0\tTime: Tue Nov 14 22:13:22 2023\n"
        "EventType: Information\tSource: x.service \n"
        "04\tEvent ID: 0\tTime: Tue Nov 14 22:13:23 2023\nEventType: Audit Success\tSource:  \n"
        "op=login res=success\n\n"
        "05\tEvent ID: 0\tTime: Tue Nov 14 22:13:24 2023\nEventType: Audit Failure\tSource:  \n"
        "op=login res=failed\n\n"
        "06\tEvent ID: 4194304\tTime: Tue Nov 14 22:13:25 2023\n"
        "EventType: Information\tSource:  \nbad \uFFFD byte\n\n"
        "07\tEvent ID: 0\tTime: Tue Nov 14 22:13:26 2023\n"
        "EventType: Error\tSource: evil EventType: Information \n"
        "08\tEvent ID: 0\tTime: Tue Nov 14 22:13:27 2023\n"
        "EventType: Information\tSource: a  b c d e f g h i \nx\ry\n\n");
    EXPECT_EQ(eventBlocks(newest(100)).toStdString(), expected.toStdString());
}

TEST_F(JournalReadTest, EntriesOfSeveralMachinesShowInTimeOrderEachNamingItsComputer) {
    const auto stamp = [](int second) {
        return QByteArray::number((1700000000LL + second) * 1000000);
    };
    const QByteArray web = "11111111111111111111111111111111";
    const QByteArray db = "22222222222222222222222222222222";
    // Each machine's file written on its own, by stamps interleaved with the other's; the
    // boots differ, and so does their monotonic time's order from the realtime's.
    const auto entry = [&](int second, const QByteArray& id, const char* message) {
        return test::JournalEntryFields{
            {"__REALTIME_TIMESTAMP", stamp(second)},
            {"__MONOTONIC_TIMESTAMP", QByteArray::number(9000 - second)},
            {"_BOOT_ID", id},
            {"_MACHINE_ID", id},
            {"SYSLOG_IDENTIFIER", "nginx"},
            {"MESSAGE", message}};
    };
    auto w1 = entry(0, web, "w1");
    auto w2 = entry(2, web, "w2");
    auto d1 = entry(1, db, "d1");
    w1.emplace_back("_HOSTNAME", "web1");
    w2.emplace_back("_HOSTNAME", "web1");
    d1.emplace_back("_HOSTNAME", "db2");
    ASSERT_TRUE(journal_.append({w1, w2}, QStringLiteral("remote-web1.journal")));
    ASSERT_TRUE(journal_.append({d1, entry(3, db, "d2")}, QStringLiteral("remote-db2.journal")));
    ASSERT_TRUE(journal_.append({{{"__REALTIME_TIMESTAMP", stamp(4)}, {"MESSAGE", "x"}}},
                                QStringLiteral("remote-anon.journal")));
    const QString expected = QStringLiteral(
        "01\tEvent ID: 0\tTime: Tue Nov 14 22:13:20 2023\n"
        "EventType: Information\tSource: nginx \tComputer: web1\nw1\n\n"
        "01\tEvent ID: 0\tTime: Tue Nov 14 22:13:21 2023\n"
        "EventType: Information\tSource: nginx \tComputer: db2\nd1\n\n"
        "02\tEvent ID: 0\tTime: Tue Nov 14 22:13:22 2023\n"
        "EventType: Information\tSource: nginx \tComputer: web1\nw2\n\n"
        "02\tEvent ID: 0\tTime: Tue Nov 14 22:13:23 2023\n"
        "EventType: Information\tSource: nginx \tComputer: 22222222222222222222222222222222\n"
        "d2\n\n"
        "01\tEvent ID: 0\tTime: Tue Nov 14 22:13:24 2023\n"
        "EventType: Information\tSource:  \tComputer: unknown\nx\n\n");
    EXPECT_EQ(eventBlocks(newest(100)).toStdString(), expected.toStdString());
    EXPECT_EQ(numbersAndStrings(newest(3)), QStringLiteral("2:w2 2:d2 1:x"));

    // One machine under two names (renamed) is one machine: its blocks read as ever. A name
    // cannot forge a line, however long or odd.
    TestJournal one;
    const QByteArray odd = "odd\rEventType: Error\n" + QByteArray(1000, 'h');
    ASSERT_TRUE(one.append({{{"_MACHINE_ID", web}, {"_HOSTNAME", "localhost"}, {"MESSAGE", "a"}},
                            {{"_MACHINE_ID", web}, {"_HOSTNAME", odd}, {"MESSAGE", "b"}}}));
    std::vector<EventRecord> records =
        SdJournalSource({JournalKind::System, one.directory(), {}}).newest(5, stop_);
    EXPECT_FALSE(eventBlocks(records).contains(QStringLiteral("Computer")));
    ASSERT_EQ(records.size(), 2U);
    EXPECT_EQ(records[1].computer, QStringLiteral("odd EventType: Error ") + QString(1000, u'h'));
    // Told apart by name where there is no ID.
    records[0].machineId.clear();
    records[1].machineId.clear();
    EXPECT_TRUE(fromSeveralMachines(records));
}

TEST_F(JournalReadTest, AWatchReadsWhatEachFileGainedAsAFreshReadWouldShowIt) {
    const auto entry = [](const char* host, double second, const char* message) {
        return std::vector<test::JournalEntryFields>{
            {{"__REALTIME_TIMESTAMP",
              QByteArray::number(1700000000000000LL + static_cast<qint64>(second * 1e6))},
             {"_HOSTNAME", host},
             {"MESSAGE", message}}};
    };
    ASSERT_TRUE(journal_.append(entry("web1", 0, "w1"), QStringLiteral("remote-web1.journal")));
    ASSERT_TRUE(journal_.append(entry("db2", 1, "d1"), QStringLiteral("remote-db2.journal")));
    ASSERT_TRUE(journal_.append(entry("web1", 2, "w2"), QStringLiteral("remote-web1.journal")));
    QDir dir(journal_.directory());
    SdJournalSource watching({JournalKind::System, dir.path(), {}});
    const auto messages = [&](const std::vector<EventRecord>& records) {
        QStringList shown;
        for (const EventRecord& record : records) {
            shown << record.strings.join(u'|');
        }
        return shown.join(u' ');
    };
    const auto shows = [&](const char* expected) {
        watching.takeInChanges();
        const QString kept = messages(watching.newest(3, stop_));
        EXPECT_EQ(kept, messages(newest(3))) << "a fresh read differs";
        return kept == QLatin1String(expected);
    };
    EXPECT_TRUE(shows("w1 d1 w2"));
    EXPECT_TRUE(shows("w1 d1 w2")); // nothing changed
    ASSERT_TRUE(journal_.append(entry("db2", 3, "d2"), QStringLiteral("remote-db2.journal")));
    EXPECT_TRUE(shows("d1 w2 d2"));
    // Rotated: the archived file is the same file under another name, nothing shows twice.
    ASSERT_TRUE(dir.rename(QStringLiteral("remote-web1.journal"),
                           QStringLiteral("remote-web1@0123456789abcdef0123456789abcdef-"
                                          "0000000000000001-0006000000000000.journal")));
    ASSERT_TRUE(journal_.append(entry("web1", 4, "w3"), QStringLiteral("remote-web1.journal")));
    EXPECT_TRUE(shows("w2 d2 w3"));
    // A file removed takes its entries with it.
    ASSERT_TRUE(dir.remove(QStringLiteral("remote-db2.journal")));
    EXPECT_TRUE(shows("w1 w2 w3"));
    // A lagging clock's entries go by their stamps, behind newer ones already shown.
    ASSERT_TRUE(journal_.append(entry("web1", 1.5, "w4"), QStringLiteral("remote-web1.journal")));
    EXPECT_TRUE(shows("w4 w2 w3"));
}

TEST_F(JournalReadTest, ChosenComputersAreMatchedByTheLibraryAndAllTheirNamesListed) {
    const QByteArray odd = "odd\n" + QByteArray(1000, 'h');
    const auto from = [](const QByteArray& host, int first, int last) {
        std::vector<test::JournalEntryFields> entries;
        for (int i = first; i <= last; ++i) {
            entries.push_back({{"_HOSTNAME", host}, {"MESSAGE", "m" + QByteArray::number(i)}});
        }
        return entries;
    };
    ASSERT_TRUE(journal_.append(from("web1", 1, 3), QStringLiteral("remote-web1.journal")));
    ASSERT_TRUE(journal_.append(from("db2", 4, 8), QStringLiteral("remote-db2.journal")));
    ASSERT_TRUE(journal_.append(from(odd, 9, 9), QStringLiteral("remote-odd.journal")));
    // Read by matches, the newest of the chosen are found behind newer entries of others.
    const QString oddName = QString::fromUtf8(odd);
    const std::pair<QStringList, const char*> cases[] = {
        {{QStringLiteral("web1")}, "2:m2 3:m3"},
        {{QStringLiteral("web1"), oddName}, "3:m3 1:m9"},
        {{QStringLiteral("nowhere")}, ""},
        {{}, "5:m8 1:m9"},
    };
    for (const auto& [hosts, shown] : cases) {
        EXPECT_EQ(numbersAndStrings(newest(2, JournalKind::System, hosts)),
                  QString::fromLatin1(shown))
            << shown;
    }
    EXPECT_EQ(SdJournalSource({JournalKind::System, journal_.directory(), {QStringLiteral("db2")}})
                  .hostNames(),
              QStringList({QStringLiteral("db2"), oddName, QStringLiteral("web1")}));
}

TEST_F(JournalReadTest, ShowsTheNewestEntriesOldestFirstNumberedByTheirPlace) {
    ASSERT_TRUE(journal_.append(messages(1, 5)));
    const std::pair<std::int64_t, const char*> cases[] = {
        {3, "3:m3 4:m4 5:m5"}, {10, "1:m1 2:m2 3:m3 4:m4 5:m5"}, {-1, ""}};
    for (const auto& [count, shown] : cases) {
        EXPECT_EQ(numbersAndStrings(newest(count)), QString::fromLatin1(shown)) << count;
    }
    // The same numbers after more entries, whatever an earlier read showed.
    ASSERT_TRUE(journal_.append(messages(6, 7)));
    EXPECT_EQ(numbersAndStrings(newest(3)), QStringLiteral("5:m5 6:m6 7:m7"));
}

TEST_F(JournalReadTest, SystemAndApplicationReadTheirOwnFilesAndTellWhyNothingShows) {
    ASSERT_TRUE(journal_.append({{{"MESSAGE", "sys"}}}));
    ASSERT_TRUE(
        journal_.append({{{"MESSAGE", "usr"}}}, QStringLiteral("user-%1.journal").arg(::getuid())));
    EXPECT_EQ(numbersAndStrings(newest(5, JournalKind::System)), QStringLiteral("1:sys"));
    EXPECT_EQ(numbersAndStrings(newest(5, JournalKind::CurrentUser)), QStringLiteral("1:usr"));

    const QString empty = journal_.directory() + QStringLiteral("/empty");
    ASSERT_TRUE(QDir().mkdir(empty));
    EXPECT_EQ(SdJournalSource({JournalKind::System, empty, {}}).problem(),
              QStringLiteral("No journal files in ") + empty);
    // Count, folder (none: the machine's), kind, text. Files that exist but cannot be read are
    // only counted here, as root reads them all.
    const auto usr = JournalKind::CurrentUser;
    const auto sys = JournalKind::System;
    const std::tuple<JournalFileCount, const char*, JournalKind, const char*> texts[] = {
        {{0, 0, 0}, "/j", usr, "No journal files in /j"},
        {{0, 0, 1}, "/j", usr, "No journal of this user (user-7.journal) in /j"},
        {{0, 0, 2}, "", sys, "No system journal (system.journal) found"},
        {{2, 0, 1},
         "",
         sys,
         "No journal files readable: add yourself to the systemd-journal group"},
        {{2, 1, 0}, "", sys, ""}};
    for (const auto& [count, folder, kind, text] : texts) {
        EXPECT_EQ(journalFilesProblem(count, QString::fromLatin1(folder), kind, 7),
                  QString::fromLatin1(text))
            << text;
    }
}

TEST_F(JournalReadTest, ANamedFolderGivesSystemEveryJournalButUserOnesWithItsMachineFolders) {
    const QDir dir(journal_.directory());
    const QString id = QStringLiteral("0123456789abcdef0123456789abcdef");
    ASSERT_TRUE(dir.mkdir(id) && dir.mkdir(QStringLiteral("elsewhere")));
    // One entry per file, a second apart, in this order.
    const std::pair<const char*, QString> files[] = {
        {"sys", QStringLiteral("system.journal")},
        {"usr", QStringLiteral("user-%1.journal").arg(::getuid())},
        {"theirs", QStringLiteral("user-99999.journal")},
        {"web", QStringLiteral("remote-web1@0123-1-1.journal")},
        {"sub", id + QStringLiteral("/remote-db2.journal")},
        {"deeper", QStringLiteral("elsewhere/system.journal")},
        {"tilde", QStringLiteral("remote-db3.journal")},
    };
    for (const auto& [message, file] : files) {
        ASSERT_TRUE(journal_.append({{{"MESSAGE", message}}}, file)) << message;
    }
    ASSERT_TRUE(QFile::rename(dir.filePath(QStringLiteral("remote-db3.journal")),
                              dir.filePath(QStringLiteral("remote-db3.journal~"))));
    EXPECT_EQ(numbersAndStrings(newest(10)), QStringLiteral("1:sys 1:web 1:sub 1:tilde"));
    EXPECT_EQ(numbersAndStrings(newest(10, JournalKind::CurrentUser)), QStringLiteral("1:usr"));
}

TEST_F(JournalReadTest, BadFilesAreSkippedAndToldAndBadFoldersToldWhileGoodFilesRead) {
    const QDir dir(journal_.directory());
    ASSERT_TRUE(journal_.append(messages(1, 2), QStringLiteral("remote-web1.journal")));
    // A journal cut short, a file that is none, a link to a pipe (opened, it would wait for a
    // writer), a link to nothing (gone: not worth a word).
    ASSERT_TRUE(QFile::copy(dir.filePath(QStringLiteral("remote-web1.journal")),
                            dir.filePath(QStringLiteral("remote-cut.journal"))));
    ASSERT_TRUE(QFile::resize(dir.filePath(QStringLiteral("remote-cut.journal")), 3000));
    QFile junk(dir.filePath(QStringLiteral("remote-junk.journal")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly) && junk.write("not a journal") > 0);
    junk.close();
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("missing")),
                            dir.filePath(QStringLiteral("remote-gone.journal"))));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0600),
              0);
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("pipe")),
                            dir.filePath(QStringLiteral("remote-pipe.journal"))));
    SdJournalSource source({JournalKind::System, dir.path(), {}});
    EXPECT_EQ(numbersAndStrings(source.newest(5, stop_)), QStringLiteral("1:m1 2:m2"));
    EXPECT_EQ(source.problem(),
              QStringLiteral("Skipped remote-cut.journal: damaged or truncated (and 2 more)"));

    // Folder, then what the pane says.
    const QString plain = dir.filePath(QStringLiteral("remote-junk.journal"));
    const QString missing = dir.filePath(QStringLiteral("missing"));
    const std::pair<QString, QString> folders[] = {
        {missing, QStringLiteral("Cannot open %1: No such file or directory").arg(missing)},
        {plain, QStringLiteral("Cannot open %1: Not a directory").arg(plain)},
    };
    for (const auto& [folder, text] : folders) {
        SdJournalSource bad({JournalKind::System, folder, {}});
        EXPECT_EQ(bad.problem(), text);
        EXPECT_TRUE(bad.newest(5, stop_).empty());
    }
}

TEST_F(JournalReadTest, AFileItsReaderMayNotReadIsSkippedAndNamedWhileTheOthersShow) {
    ASSERT_TRUE(journal_.append(messages(1, 2), QStringLiteral("remote-web1.journal")));
    ASSERT_TRUE(journal_.append(messages(3, 3), QStringLiteral("remote-db1.journal")));
    const QDir dir(journal_.directory());
    const auto chmodIn = [&](const QString& name, mode_t mode) {
        return ::chmod(QFile::encodeName(dir.filePath(name)).constData(), mode) == 0;
    };
    ASSERT_TRUE(chmodIn(QStringLiteral("."), 0755) &&
                chmodIn(QStringLiteral("remote-web1.journal"), 0644) &&
                chmodIn(QStringLiteral("remote-db1.journal"), 0600));
    const auto readsAsOthersWould = [&] {
        SdJournalSource source({JournalKind::System, dir.path(), {}});
        const QString shown = numbersAndStrings(source.newest(5, stop_));
        const QString told = source.problem();
        const bool right = shown == QStringLiteral("1:m1 2:m2") &&
                           told == QStringLiteral("Skipped remote-db1.journal: Permission denied");
        if (!right) {
            std::fprintf(stderr, "shown \"%s\", told \"%s\"\n", qPrintable(shown),
                         qPrintable(told));
        }
        return right;
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(readsAsOthersWould());
        return;
    }
    // Root reads whatever the mode says: the reader is an unprivileged user in a child.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const gid_t nobody = 65534;
        const bool dropped =
            ::setgroups(0, nullptr) == 0 && ::setgid(nobody) == 0 && ::setuid(nobody) == 0;
        ::_exit(dropped && readsAsOthersWould() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(JournalNames, FilesOfTheChoiceAndSequenceNumbersOfCursors) {
    const JournalFileChoice machineSystem{JournalKind::System, 7, false};
    const JournalFileChoice folderSystem{JournalKind::System, 7, true};
    const JournalFileChoice user{JournalKind::CurrentUser, 7, true};
    // Name, then whether the machine's system journal, a folder's and user 7's take it.
    const std::tuple<const char*, bool, bool, bool> names[] = {
        {"system@0123-4567.journal~", true, true, false},
        {"systemd.journal", false, true, false},
        {"remote-web1.journal", false, true, false},
        {"remote-web1@0123-4567.journal", false, true, false},
        {"remote-user-7.journal", false, true, false},
        {"user-7.journal", false, false, true},
        {"user-7@0123-4567.journal~", false, false, true},
        {"user-70.journal", false, false, false},
        {"user-.journal", false, true, false},
        {"system.journal.gz", false, false, false},
    };
    for (const auto& [name, machine, folder, mine] : names) {
        const QString text = QString::fromLatin1(name);
        EXPECT_EQ(isJournalFileOf(text, machineSystem), machine) << name;
        EXPECT_EQ(isJournalFileOf(text, folderSystem), folder) << name;
        EXPECT_EQ(isJournalFileOf(text, user), mine) << name;
    }
    EXPECT_EQ(cursorSequenceNumber("s=6acc;i=1f;b=0123;m=3e8"), 31U);
    EXPECT_EQ(cursorSequenceNumber("s=1;i=zz"), 0U);
}
