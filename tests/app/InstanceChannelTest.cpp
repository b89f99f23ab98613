#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#ifdef OMBREL_EXECUTABLE
namespace {

class RunningCopies : public testing::Test {
protected:
    QProcess* launch(const QStringList& args) {
        auto* process = new QProcess;
        processes_.emplace_back(process);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), home_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_.path());
        env.insert(QStringLiteral("TMP"), home_.path()); // where Windows copies find each other
        process->setProcessEnvironment(env);
        process->start(QStringLiteral(OMBREL_EXECUTABLE),
                       QStringList{QStringLiteral("--no-splash")} + args);
        EXPECT_TRUE(process->waitForStarted());
        // Ready once its socket is there.
        for (int i = 0; i < 600 && !isListening(*process); ++i) {
            QTest::qWait(50);
        }
        EXPECT_TRUE(isListening(*process));
        return process;
    }
    // waitForFinished reports false for a copy that ended while the test sat in an event
    // loop, so ask the process's state instead.
    static bool finishes(const QProcess& process, int timeoutMs = 30000) {
        return QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, timeoutMs);
    }
    bool isListening(const QProcess& process) const {
        const QString pattern = QString::number(process.processId()) + QStringLiteral("-*.sock");
        // A socket file, or on Windows the plain file that names the copy's pipe.
        return !QDir(home_.filePath(QStringLiteral("ombrel-instances")))
                    .entryList({pattern}, QDir::System | QDir::Files)
                    .isEmpty();
    }
    QString file(const QString& name) {
        const QString path = home_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("line\n");
        // A Windows command line is searched for options anywhere: "/t" of ".../Temp/" is one.
        return QDir::toNativeSeparators(path);
    }
    void TearDown() override {
        for (auto& process : processes_) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                finishes(*process);
            }
        }
    }

    QTemporaryDir home_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

} // namespace

TEST_F(RunningCopies, KClosesOnlyTheCopyWatchingTheSameFileAndKaEveryOtherWithExitCodeTwo) {
    // A leftover of a copy that has gone, not even a socket, is passed over.
    QDir(home_.path()).mkdir(QStringLiteral("ombrel-instances"));
    QFile leftover(home_.filePath(QStringLiteral("ombrel-instances/99999-gone.sock")));
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    // The older copy is asked first, so a copy agreeing to any source would close instead.
    QProcess* other = launch({file(QStringLiteral("b.log"))});
    const QString a = file(QStringLiteral("a.log"));
    QProcess* same = launch({a});
    QProcess* closer = launch({QStringLiteral("/k"), a});
    ASSERT_TRUE(finishes(*same));
    EXPECT_EQ(same->exitCode(), 2);
    EXPECT_FALSE(finishes(*other, 500));
    EXPECT_EQ(closer->state(), QProcess::Running);

    QProcess* last = launch({QStringLiteral("-ka"), file(QStringLiteral("c.log"))});
    ASSERT_TRUE(finishes(*other));
    ASSERT_TRUE(finishes(*closer));
    EXPECT_EQ(other->exitCode(), 2);
    EXPECT_EQ(closer->exitCode(), 2);
    EXPECT_EQ(last->state(), QProcess::Running);
}
#endif
