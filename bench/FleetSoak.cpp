#include "FleetSoak.h"

#include "JournalExport.h"
#include "app/CommandId.h"
#include "display/LogView.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace ombrel::bench {

namespace {

constexpr int entriesPerSecond = 1000;
constexpr int writersPerSecond = 10; // machines written to each second, in turn

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString machineFile(int machine) {
    return QStringLiteral("remote-m%1.journal").arg(machine);
}

/// Each machine's first entries, written one machine after another.
bool seed(const QString& dir, int machines) {
    for (int machine = 0; machine < machines; ++machine) {
        QProcess tool;
        tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        startAppend(tool, dir,
                    exportEntries(10000 / machines + 1, static_cast<std::uint32_t>(machine), {},
                                  "m" + QByteArray::number(machine)),
                    machineFile(machine));
        if (!tool.waitForFinished(60000) || tool.exitCode() != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

int fleetSoak(int minutes, int machines) {
    QTemporaryDir dir;
    QTemporaryDir home;
    if (!seed(dir.path(), machines)) {
        std::fprintf(stderr, "%s failed\n", journalRemote);
        return 1;
    }
    const std::unique_ptr<MainWindow> window = systemLogWindow(dir.path(), home, 10000);
    QCoreApplication::processEvents();
    const double idle = residentMegabytes();
    int shown = 0;
    QObject::connect(window.get(), &MainWindow::displayUpdated, [&shown] { ++shown; });
    window->dispatchCommand(IdStart);

    // One writer per machine at most: two on one file would damage it.
    std::vector<std::unique_ptr<QProcess>> writers(static_cast<std::size_t>(machines));
    int next = 0;
    int seconds = 0;
    int skipped = 0;
    std::vector<double> perMinute; // medians
    std::vector<double> samples;
    std::vector<double> fileSamples;
    QTimer tick;
    tick.setInterval(1000);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        for (int i = 0; i < writersPerSecond; ++i, next = (next + 1) % machines) {
            auto& writer = writers[static_cast<std::size_t>(next)];
            if (writer && writer->state() != QProcess::NotRunning) {
                ++skipped;
                continue;
            }
            writer = std::make_unique<QProcess>();
            startAppend(*writer, dir.path(),
                        exportEntries(entriesPerSecond / writersPerSecond,
                                      static_cast<std::uint32_t>(seconds * 100 + i), {},
                                      "m" + QByteArray::number(next)),
                        machineFile(next));
        }
        // Sampled each second: a sample may fall inside a read, whose text and mapped pages
        // are given back after it.
        samples.push_back(residentMegabytes());
        fileSamples.push_back(residentFileMegabytes());
        if (++seconds % 60 == 0) {
            perMinute.push_back(median(samples));
            std::printf("minute %2zu: resident %.1f MB median (%.1f MB above the idle window; "
                        "%.1f MB of it mapped files), %.1f MB at most; %d updates shown, %lld "
                        "lines, %d writes skipped\n",
                        perMinute.size(), perMinute.back(), perMinute.back() - idle,
                        median(fileSamples), *std::max_element(samples.begin(), samples.end()),
                        shown, static_cast<long long>(window->display()->model()->lineCount()),
                        skipped);
            std::fflush(stdout);
            samples.clear();
            fileSamples.clear();
            if (static_cast<int>(perMinute.size()) == minutes) {
                QCoreApplication::quit();
            }
        }
    });
    std::printf("fleet: %d machines, %d entries a second; idle window %.1f MB\n", machines,
                entriesPerSecond, idle);
    tick.start();
    QCoreApplication::exec();
    for (const auto& writer : writers) {
        if (writer) {
            writer->waitForFinished(10000);
        }
    }
    const double above = *std::max_element(perMinute.begin(), perMinute.end()) - idle;
    const double ratio = perMinute.size() >= 2 ? perMinute.back() / perMinute[1] : 1.0;
    std::printf("last minute / second minute: %.3f (%s); most above the idle window: %.1f MB "
                "(target 60)\n",
                ratio, ratio <= 1.1 ? "flat" : "GROWING", above);
    return ratio <= 1.1 && above <= 60 ? 0 : 1;
}

} // namespace ombrel::bench
