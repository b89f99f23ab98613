// Measures desktop notifications against a stand-in notification server on the session bus
// (run it under dbus-run-session): how soon after a write to a watched file the Notify call
// arrives, the window thread's time per notification, and how many notifications a burst of
// 1 000 changes in 10 seconds gives, told directly and through a watched file.
#include "LogGenerator.h"
#include "app/CommandId.h"
#include "app/MainWindow.h"
#include "display/DisplayModel.h"
#include "display/KeywordPass.h"
#include "display/LogView.h"
#include "notify/ChangeAlerts.h"
#include "support/NotificationServer.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

using namespace ombrel;
using namespace Qt::StringLiterals;

namespace {

std::int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Watched files in a folder of their own.
class LogFiles {
public:
    QString write(const QString& name, const QByteArray& bytes) const {
        return put(name, bytes, QIODevice::WriteOnly | QIODevice::Truncate);
    }
    void append(const QString& name, const QByteArray& bytes) const {
        put(name, bytes, QIODevice::WriteOnly | QIODevice::Append);
    }

private:
    QString put(const QString& name, const QByteArray& bytes, QIODevice::OpenMode mode) const {
        QFile file(dir_.filePath(name));
        if (!file.open(mode) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        }
        return file.fileName();
    }
    QTemporaryDir dir_;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double slowest(const std::vector<double>& values) {
    return *std::max_element(values.begin(), values.end());
}

// What the pipeline hands the window for text, keywords marked.
ShownUpdate shownOf(const QString& text, std::uint64_t generation = 1) {
    auto pass = KeywordPass::run({text, {u"ERROR"_s}, {true, false, false}, generation});
    auto model = DisplayModel::fromPass(std::move(*pass));
    return {generation, true, model, std::make_shared<MarkedLines>(MarkedLines::of(*model))};
}

ChangeAlertsSetup alertsSetup() {
    ChangeAlertsSetup setup;
    setup.bus = QDBusConnection::sessionBus();
    setup.icon = QIcon(u":/icons/ombrel.svg"_s);
    setup.clockMs = steadyMs;
    return setup;
}

std::unique_ptr<MainWindow> watchingWindow(const SettingsStore& settings, const QString& path) {
    MainWindowSetup setup{{}, settings, QString(), {}, {}};
    setup.notificationBus = QDBusConnection::sessionBus();
    auto window = std::make_unique<MainWindow>(std::move(setup));
    window->show();
    qobject_cast<QComboBox*>(window->control(IdFileNameBox))->setEditText(path);
    qobject_cast<QComboBox*>(window->control(IdIntervalBox))->setEditText(u"1"_s);
    qobject_cast<QLineEdit*>(window->control(IdCountBox))->setText(u"100000"_s);
    window->dispatchCommand(IdStart);
    window->waitForDisplayIdle(5000);
    return window;
}

// From the write to the Notify call, each change a file of its own (one period each).
void latency(test::NotificationServer& server, const SettingsStore& settings) {
    LogFiles files;
    std::mt19937 random(7);
    std::vector<double> fromWrite, fromShown;
    for (int trial = 0; trial < 12; ++trial) {
        const QString name = u"trial%1.log"_s.arg(trial);
        auto window = watchingWindow(settings, files.write(name, "start\n"));
        QTest::qWait(static_cast<int>(random() % 1000)); // anywhere in the check interval
        std::int64_t shown = 0;
        QObject::connect(window.get(), &MainWindow::displayUpdated, [&] { shown = steadyMs(); });
        const std::size_t calls = server.calls().size();
        const std::int64_t written = steadyMs();
        files.append(name, "ERROR in trial " + QByteArray::number(trial) + "\n");
        if (!server.waitForCalls(calls + 1, 5000)) {
            std::printf("trial %d: no Notify call\n", trial);
            continue;
        }
        fromWrite.push_back(static_cast<double>(server.calls().back().receivedMs - written));
        fromShown.push_back(static_cast<double>(server.calls().back().receivedMs - shown));
    }
    std::printf("write -> Notify call (1 s checks): %.0f ms median, %.0f ms slowest; "
                "display shown -> call: %.1f ms median, %.1f ms slowest\n",
                median(fromWrite), slowest(fromWrite), median(fromShown), slowest(fromShown));
}

// The window thread's time for one notification: the comparison with the update before, the
// notice and the asynchronous call, for a 10 MB tail with thousands of marked lines.
void windowThreadTime() {
    QByteArray log = bench::generateLog(10 << 20);
    QByteArray text;
    int line = 0;
    for (const QByteArray& row : log.split('\n')) {
        text += (++line % 50 == 0 ? "ERROR " : "") + row + "\n";
    }
    const QString before = QString::fromLatin1(text);
    const QString after = before.mid(before.indexOf(u'\n', 20000) + 1) +
                          u"ERROR new one\nok\nERROR new two <b>&</b>\n"_s;
    QElapsedTimer off;
    off.start();
    const ShownUpdate first = shownOf(before);
    const ShownUpdate second = shownOf(after);
    const double offThread = static_cast<double>(off.nsecsElapsed()) / 2e6;
    ChangeAlerts alerts(alertsSetup());
    std::vector<double> times;
    for (int i = 0; i < 30; ++i) {
        const NoticeSource source{u"source %1"_s.arg(i), u"big.log"_s};
        alerts.shown(source, first, NotifyChoice::Keywords);
        QElapsedTimer clock;
        clock.start();
        alerts.shown(source, second, NotifyChoice::Keywords);
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    const double firstCall = times.front(); // the bus's first message of this kind
    times.erase(times.begin());
    std::printf("window thread per notification (10 MB tail, %zu marked lines kept): %.3f ms "
                "median, %.3f ms slowest, %.3f ms the first; marks, model and marked lines off "
                "the thread: %.0f ms per update\n",
                first.marked->marked().size(), median(times), slowest(times), firstCall, offThread);
}

// 1 000 changes, one every 10 ms, each with a new marked line.
void burstTold(test::NotificationServer& server) {
    ChangeAlerts alerts(alertsSetup());
    const NoticeSource source{u"burst"_s, u"burst.log"_s};
    QString text = u"start\n"_s;
    alerts.shown(source, shownOf(text), NotifyChoice::Keywords);
    const std::size_t calls = server.calls().size();
    const std::int64_t start = steadyMs();
    for (int i = 0; i < 1000; ++i) {
        text += u"ERROR %1\n"_s.arg(i);
        alerts.shown(source, shownOf(text.right(2000)), NotifyChoice::Keywords);
        while (steadyMs() < start + 10 * (i + 1)) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }
    QTest::qWait(500); // the notification due at the end of the last period
    std::printf("1 000 changes told in %.1f s: %zu notifications",
                static_cast<double>(steadyMs() - start) / 1000, server.calls().size() - calls);
    if (server.calls().size() > calls) {
        std::printf(" (the last: \"%s\")",
                    qPrintable(QString(server.calls().back().body).replace(u'\n', u'|')));
    }
    std::printf("\n");
}

// 1 000 appends to a watched file in 10 s.
void burstWritten(test::NotificationServer& server, const SettingsStore& settings) {
    LogFiles files;
    auto window = watchingWindow(settings, files.write(u"written.log"_s, "start\n"));
    const std::size_t calls = server.calls().size();
    const std::int64_t start = steadyMs();
    for (int i = 0; i < 1000; ++i) {
        files.append(u"written.log"_s, "ERROR line " + QByteArray::number(i) + "\n");
        while (steadyMs() < start + 10 * (i + 1)) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }
    QTest::qWait(1500); // the last check and the notification due after it
    std::printf("1 000 lines written to a watched file in 10 s: %zu notifications\n",
                server.calls().size() - calls);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    test::NotificationServer server;
    if (!QDBusConnection::sessionBus().isConnected() || !server.owning()) {
        std::fprintf(stderr, "needs a session bus with no notification server: run it as\n"
                             "  dbus-run-session -- build/release/bench/notify_bench\n");
        return 1;
    }
    QTemporaryDir dir;
    const SettingsStore settings = SettingsStore::atFile(dir.filePath(u"Ombrel.conf"_s));
    settings.writeSetting(u"Highlight"_s, u"1"_s);
    settings.writeSetting(u"Keywords"_s, u";;ERROR"_s);
    latency(server, settings);
    windowThreadTime();
    burstTold(server);
    burstWritten(server, settings);
    std::printf("targets: write -> call <= 100 ms + the check interval; <= 2 ms of the window\n"
                "         thread per notification; 1 000 changes in 10 s -> at most 3\n");
    return 0;
}
