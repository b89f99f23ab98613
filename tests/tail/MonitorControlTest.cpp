#include "tail/MonitorControl.h"

#include "support/GatedFileSystem.h"
#include "support/TempFiles.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <vector>

using namespace ombrel;

namespace {

StartRequest fileStart(const QString& name, const QString& interval = QStringLiteral("0"),
                       const QString& count = QStringLiteral("8")) {
    return {name, interval, count, EventLogChoice::None};
}

// Watches real files, counting what monitoring asks of the file system.
class WatchedFile : public testing::Test {
protected:
    TailSnapshot startOn(const QByteArray& content, const QString& interval = u"0"_qs) {
        path_ = files_.write(name_, content);
        EXPECT_EQ(monitor_.start(fileStart(path_, interval)), StartOutcome::WatchingFile);
        return read();
    }
    // Reads and records as the window does.
    TailSnapshot read() {
        TailSnapshot snapshot = monitor_.readTail();
        monitor_.recordRead(snapshot);
        return snapshot;
    }
    // The ticks on which a fresh monitor's check found a change, the file's time changing
    // before every tick.
    std::vector<int> checksOverTicks(const QString& interval, int ticks) {
        MonitorControl monitor(fileSystem_);
        EXPECT_EQ(monitor.start(fileStart(path_, interval)), StartOutcome::WatchingFile);
        monitor.recordRead(monitor.readTail());
        std::vector<int> checked;
        for (int tick = 1; tick <= ticks; ++tick) {
            files_.setModified(name_, 1'700'000'000'000 + tick * 1000);
            if (monitor.tick() == TickAction::ReadAndNotify) {
                checked.push_back(tick);
                monitor.recordRead(monitor.readTail());
            }
        }
        return checked;
    }

    test::TempFiles files_;
    const QString name_ = QStringLiteral("app.log");
    QString path_;
    test::GatedFileSystem fileSystem_;
    MonitorControl monitor_{fileSystem_};
};

} // namespace

TEST_F(WatchedFile, CheckRhythmFollowsTheIntervalBoundedToOneTo600Seconds) {
    path_ = files_.write(name_, "x\n");
    const struct {
        const char* interval;
        int ticks;
        std::vector<int> checked;
    } cases[] = {
        {"1", 3, {1, 2, 3}},        {"5", 16, {5, 10, 15}}, {"0", 3, {1, 2, 3}},
        {"abc", 2, {1, 2}},         {"-7", 3, {1, 2, 3}},   {"-99999999999", 2, {1, 2}},
        {"601", 1200, {600, 1200}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(checksOverTicks(QString::fromLatin1(c.interval), c.ticks), c.checked)
            << c.interval;
    }
}

TEST_F(WatchedFile, OnlyAStartOnAnExistingFileChangesTheStateButEveryStartReadsTheNumbers) {
    path_ = files_.write(name_, "x\n");
    EXPECT_EQ(monitor_.start(fileStart(u' ' + path_)), StartOutcome::BlankName);
    EXPECT_EQ(monitor_.start(fileStart(u"gone.log"_qs)), StartOutcome::MissingFile);
    EXPECT_FALSE(monitor_.running());

    EXPECT_EQ(monitor_.start(fileStart(path_, u" 7s"_qs)), StartOutcome::WatchingFile);
    EXPECT_EQ(monitor_.countdown(), 6);
    monitor_.start(fileStart(u"gone.log"_qs, u"9"_qs, u"12"_qs));
    EXPECT_TRUE(monitor_.running());
    EXPECT_EQ(monitor_.filePath(), path_);
    EXPECT_EQ(monitor_.sourceText(), u"gone.log"_qs);
    EXPECT_EQ(monitor_.byteCount(), 12);
    EXPECT_EQ(monitor_.reloadValue(), 6); // only a successful file Start sets the rhythm
    monitor_.start(fileStart(u"gone.log"_qs, u"1"_qs, u"-5"_qs));
    EXPECT_EQ(monitor_.byteCount(), 0);

    // A folder is watched, as a file that cannot be read, but not as a file to remember.
    const QString folder = QFileInfo(path_).absolutePath();
    EXPECT_EQ(monitor_.start(fileStart(folder)), StartOutcome::WatchingNotAFile);
    EXPECT_EQ(monitor_.filePath(), folder);
    EXPECT_EQ(monitor_.readTail().failure, u"Is a directory"_qs);
}

TEST_F(WatchedFile, AnimationRunsUntilACheckWithoutChangeOrAPauseAndNoChangeCostsNoRead) {
    startOn("x\n", u"2"_qs);
    // An unchanged file costs one status look-up per check and no read.
    const int statuses = fileSystem_.statuses();
    const int reads = fileSystem_.reads();
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(monitor_.tick(), TickAction::None);
    }
    EXPECT_EQ(fileSystem_.statuses(), statuses + 5);
    EXPECT_EQ(fileSystem_.reads(), reads);

    files_.append(name_, "y");
    EXPECT_EQ(monitor_.tick(), TickAction::None);
    EXPECT_EQ(monitor_.tick(), TickAction::ReadAndNotify);
    read();
    EXPECT_EQ(monitor_.tick(), TickAction::None);
    EXPECT_TRUE(monitor_.animating());
    EXPECT_EQ(monitor_.tick(), TickAction::StopAnimation);
    EXPECT_FALSE(monitor_.animating());

    // A pause stops the animation and the checks.
    files_.append(name_, "z");
    monitor_.tick();
    ASSERT_EQ(monitor_.tick(), TickAction::ReadAndNotify);
    monitor_.pause();
    EXPECT_FALSE(monitor_.animating());
    const int paused = fileSystem_.statuses();
    EXPECT_EQ(monitor_.tick(), TickAction::None);
    EXPECT_EQ(monitor_.tick(), TickAction::None);
    EXPECT_EQ(fileSystem_.statuses(), paused);

    // The event log runs without a file.
    EXPECT_EQ(monitor_.start({QString(), u"2"_qs, u"20"_qs, EventLogChoice::System}),
              StartOutcome::WatchingEventLog);
    EXPECT_TRUE(monitor_.eventLogMode());
    EXPECT_EQ(monitor_.byteCount(), 20);
    monitor_.noteChangeAnnounced();
    EXPECT_EQ(monitor_.tick(), TickAction::StopAnimation);
    EXPECT_EQ(monitor_.tick(), TickAction::None);
    EXPECT_EQ(fileSystem_.statuses(), paused);
}

TEST_F(WatchedFile, GrowthTruncationAndReCreationAreShownAndHeadModeReadsTheStart) {
    EXPECT_EQ(startOn("line 1\n").bytes, "line 1\n");
    EXPECT_EQ(monitor_.tick(), TickAction::None);

    files_.append(name_, "line 2\n");
    ASSERT_EQ(monitor_.tick(), TickAction::ReadAndNotify);
    EXPECT_EQ(read().bytes, "\nline 2\n");
    EXPECT_EQ(monitor_.lastStat().size, 14);
    monitor_.setHeadMode(true);
    EXPECT_EQ(read().bytes, "line 1\nl");
    monitor_.setHeadMode(false);

    files_.write(name_, "new\n");
    ASSERT_EQ(monitor_.tick(), TickAction::ReadAndNotify);
    EXPECT_EQ(read().bytes, "new\n");
    const FileStatus before = monitor_.lastStat();
    EXPECT_EQ(monitor_.tick(), TickAction::StopAnimation);

    // Deletion is no change; a read while the file is gone shows nothing and keeps the last
    // size and time; the re-created file is read.
    ASSERT_TRUE(QFile::remove(path_));
    EXPECT_EQ(monitor_.tick(), TickAction::None);
    EXPECT_FALSE(read().opened);
    EXPECT_EQ(monitor_.lastStat(), before);
    files_.write(name_, "recreated\n");
    ASSERT_EQ(monitor_.tick(), TickAction::ReadAndNotify);
    EXPECT_EQ(read().bytes, "created\n");
}

TEST_F(WatchedFile, TwoWritesInTheSameSecondAreBothShown) {
    constexpr std::int64_t second = 1'700'000'000'000;
    startOn("aaaa\n");
    files_.setModified(name_, second + 100);
    ASSERT_EQ(monitor_.tick(), TickAction::ReadAndNotify);
    read();
    // Same size, same second, later within it; then the same time to the millisecond, grown.
    const std::pair<const char*, QByteArray> writes[] = {{"bbbb\n", "bbbb\n"},
                                                         {"bbbb\ncc\n", "bbbb\ncc\n"}};
    for (const auto& [content, shown] : writes) {
        files_.write(name_, content);
        files_.setModified(name_, second + 600);
        ASSERT_EQ(monitor_.tick(), TickAction::ReadAndNotify) << content;
        EXPECT_EQ(read().bytes, shown);
    }
}

TEST_F(WatchedFile, OnlyTheNewestReadSetsWhatAChangeIsMeasuredAgainst) {
    path_ = files_.write(name_, "first\n");
    ASSERT_EQ(monitor_.start(fileStart(path_, u"0"_qs, u"1000"_qs)), StartOutcome::WatchingFile);
    // The Start's read has not ended yet: the file as it stood at Start is no change.
    EXPECT_EQ(monitor_.tick(), TickAction::None);
    const TailSnapshot older = monitor_.readTail();

    files_.append(name_, "second\n");
    ASSERT_EQ(monitor_.tick(), TickAction::ReadAndNotify);
    // The Start's read ends after the check that asked for a newer one.
    monitor_.recordRead(older, /*newerReadFollows=*/true);
    EXPECT_EQ(monitor_.lastStat().size, 6);
    EXPECT_EQ(monitor_.tick(), TickAction::StopAnimation);
    EXPECT_EQ(read().bytes, "first\nsecond\n");
    EXPECT_EQ(monitor_.tick(), TickAction::None);
}
