#include "tail/MonitorControl.h"

#include "support/TempFiles.h"

#include <QFile>
#include <gtest/gtest.h>
#include <vector>

using namespace ombrel;
using ombrel::test::TempFiles;

namespace {
// One file whose status the test sets; counts what monitoring asks of it.
class FakeFileSystem : public MonitorFileSystem {
public:
    QString name = QStringLiteral("watched.log");
    std::optional<FileStatus> current = FileStatus{100, {1'000, 0}};
    mutable int statusCalls = 0;
    mutable int reads = 0;

    bool exists(const QString& path) const override { return path == name; }
    std::optional<FileStatus> status(const QString& path) const override {
        ++statusCalls;
        return path == name ? current : std::nullopt;
    }
    TailSnapshot read(const QString& path, std::int64_t, const TailReadOptions&) const override {
        ++reads;
        TailSnapshot snapshot;
        if (path == name && current) {
            snapshot.opened = true;
            snapshot.fileSize = current->size;
            snapshot.modTime = current->modified;
        }
        return snapshot;
    }
};

StartRequest fileStart(const QString& name, const QString& interval = QStringLiteral("0"),
                       const QString& count = QStringLiteral("1000")) {
    return {name, interval, count, EventLogChoice::None};
}

// A monitor started on the fake file and read once, as the window does.
struct Started {
    explicit Started(const QString& interval = QStringLiteral("0")) {
        EXPECT_EQ(monitor.start(fileStart(files.name, interval)), StartOutcome::WatchingFile);
        monitor.recordRead(monitor.readTail());
    }
    FakeFileSystem files;
    MonitorControl monitor{files};
};

// The ticks on which a check found a change, the file's time changing before every tick.
std::vector<int> checksOverTicks(const QString& interval, int ticks) {
    Started started(interval);
    std::vector<int> checked;
    for (int tick = 1; tick <= ticks; ++tick) {
        started.files.current->modified.seconds += 1;
        if (started.monitor.tick() == TickAction::ReadAndNotify) {
            checked.push_back(tick);
            started.monitor.recordRead(started.monitor.readTail());
        }
    }
    return checked;
}
} // namespace

TEST(MonitorControl, CheckRhythmFollowsTheInterval) {
    EXPECT_EQ(checksOverTicks(QStringLiteral("0"), 4), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(checksOverTicks(QStringLiteral("abc"), 3), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(checksOverTicks(QStringLiteral("5"), 20), (std::vector<int>{6, 12, 18}));
    EXPECT_TRUE(checksOverTicks(QStringLiteral("-1"), 500).empty());
    // The lowest interval must not count past the lowest number.
    EXPECT_TRUE(checksOverTicks(QStringLiteral("-99999999999"), 50).empty());
}

TEST(MonitorControl, OnlyAStartOnAnExistingFileChangesTheStateButEveryStartReadsTheNumbers) {
    FakeFileSystem files;
    MonitorControl monitor(files);
    EXPECT_EQ(monitor.start(fileStart(QStringLiteral(" watched.log"))), StartOutcome::BlankName);
    EXPECT_EQ(monitor.start(fileStart(QStringLiteral("gone.log"))), StartOutcome::MissingFile);
    EXPECT_FALSE(monitor.running());

    EXPECT_EQ(monitor.start(fileStart(files.name, QStringLiteral(" 7s"))),
              StartOutcome::WatchingFile);
    EXPECT_EQ(monitor.countdown(), 7);
    monitor.start(fileStart(QStringLiteral("gone.log"), QStringLiteral("9"), QStringLiteral("12")));
    EXPECT_TRUE(monitor.running());
    EXPECT_EQ(monitor.filePath(), files.name);
    EXPECT_EQ(monitor.sourceText(), QStringLiteral("gone.log"));
    EXPECT_EQ(monitor.byteCount(), 12);
    EXPECT_EQ(monitor.reloadValue(), 7); // only a successful file Start sets the rhythm
}

TEST(MonitorControl, AnimationRunsUntilACheckWithoutChangeOrAPauseAndNoChangeCostsNoRead) {
    Started started(QStringLiteral("1"));
    MonitorControl& monitor = started.monitor;
    // An unchanged file costs one status look-up per check and no read.
    started.files.statusCalls = 0;
    started.files.reads = 0;
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(monitor.tick(), TickAction::None);
    }
    EXPECT_EQ(started.files.statusCalls, 5);
    EXPECT_EQ(started.files.reads, 0);

    started.files.current->size = 101;
    EXPECT_EQ(monitor.tick(), TickAction::None);
    EXPECT_EQ(monitor.tick(), TickAction::ReadAndNotify);
    monitor.recordRead(monitor.readTail());
    EXPECT_EQ(monitor.tick(), TickAction::None);
    EXPECT_TRUE(monitor.animating());
    EXPECT_EQ(monitor.tick(), TickAction::StopAnimation);
    EXPECT_FALSE(monitor.animating());

    // A pause stops the animation and the checks.
    started.files.current->size = 200;
    monitor.tick();
    ASSERT_EQ(monitor.tick(), TickAction::ReadAndNotify);
    monitor.pause();
    EXPECT_FALSE(monitor.animating());
    started.files.statusCalls = 0;
    EXPECT_EQ(monitor.tick(), TickAction::None);
    EXPECT_EQ(monitor.tick(), TickAction::None);
    EXPECT_EQ(started.files.statusCalls, 0);
}

TEST(MonitorControl, EventLogRunsWithoutAFile) {
    FakeFileSystem files;
    MonitorControl monitor(files);
    EXPECT_EQ(monitor.start(
                  {QString(), QStringLiteral("2"), QStringLiteral("20"), EventLogChoice::System}),
              StartOutcome::WatchingEventLog);
    EXPECT_TRUE(monitor.eventLogMode());
    EXPECT_EQ(monitor.byteCount(), 20);
    monitor.noteChangeAnnounced();
    EXPECT_EQ(monitor.tick(), TickAction::StopAnimation);
    EXPECT_EQ(monitor.tick(), TickAction::None);
    EXPECT_EQ(files.statusCalls, 0);
}

// The following watch real files through the real file system, checking at every tick.
class WatchedFile : public testing::Test {
protected:
    TailSnapshot startOn(const QByteArray& content) {
        path_ = files_.write(name_, content);
        EXPECT_EQ(monitor_.start(fileStart(path_, QStringLiteral("0"), QStringLiteral("8"))),
                  StartOutcome::WatchingFile);
        return read();
    }
    // Reads and records as the window does.
    TailSnapshot read() {
        TailSnapshot snapshot = monitor_.readTail();
        monitor_.recordRead(snapshot);
        return snapshot;
    }

    TempFiles files_;
    const QString name_ = QStringLiteral("app.log");
    QString path_;
    LocalFileSystem fileSystem_;
    MonitorControl monitor_{fileSystem_};
};

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
    EXPECT_EQ(before.size, 4);
    EXPECT_EQ(monitor_.tick(), TickAction::StopAnimation);

    // Deletion is no change; the re-created file is read.
    ASSERT_TRUE(QFile::remove(path_));
    EXPECT_EQ(monitor_.tick(), TickAction::None);
    // A read while the file is gone shows nothing and keeps the last size and time.
    EXPECT_FALSE(read().opened);
    EXPECT_EQ(monitor_.lastStat(), before);

    files_.write(name_, "recreated\n");
    ASSERT_EQ(monitor_.tick(), TickAction::ReadAndNotify);
    EXPECT_EQ(read().bytes, "created\n");
    EXPECT_EQ(monitor_.tick(), TickAction::StopAnimation);
}

TEST_F(WatchedFile, TwoWritesInTheSameSecondAreBothShown) {
    constexpr std::int64_t second = 1'700'000'000'000;
    startOn("aaaa\n");
    files_.setModified(name_, second + 100);
    ASSERT_EQ(monitor_.tick(), TickAction::ReadAndNotify);
    read();

    // Same size, same second, later within it.
    files_.write(name_, "bbbb\n");
    files_.setModified(name_, second + 600);
    ASSERT_EQ(monitor_.tick(), TickAction::ReadAndNotify);
    EXPECT_EQ(read().bytes, "bbbb\n");

    // Same time to the millisecond, but grown.
    files_.append(name_, "cc\n");
    files_.setModified(name_, second + 600);
    ASSERT_EQ(monitor_.tick(), TickAction::ReadAndNotify);
    EXPECT_EQ(read().bytes, "bbbb\ncc\n");
}

TEST_F(WatchedFile, OnlyTheNewestReadSetsWhatAChangeIsMeasuredAgainst) {
    path_ = files_.write(name_, "first\n");
    ASSERT_EQ(monitor_.start(fileStart(path_)), StartOutcome::WatchingFile);
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
