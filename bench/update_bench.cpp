// Measures one whole display update (read, decode, keyword pass, replace the text, marks,
// scroll to the end, paint) for generated 1 MB and 10 MB logs, the time of it spent on the
// window's thread, peak memory, repeated updates, what an unchanged file costs, and the same
// tail shown by a grep pipeline for comparison.
#include "LogGenerator.h"
#include "app/LogView.h"
#include "app/UpdatePipeline.h"
#include "display/DisplayDocumentBuilder.h"
#include "display/DisplaySwitcher.h"
#include "tail/MonitorControl.h"
#include "tail/MonitorFileSystem.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

using namespace ombrel;

namespace {

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double msSince(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

struct UpdateTimes {
    double worker = 0;
    double gui = 0;
    double whole() const { return worker + gui; }
    std::size_t marks = 0;
};

// One update as the window makes it, timed in its two halves: the worker's (read, decode,
// keyword pass, document) and the window thread's (swap in with the caret at the end, paint).
UpdateTimes update(LogView& view, UpdateGeneration& generations, const LocalFileSystem& fs,
                   const UpdateRequest& request) {
    UpdateTimes times;
    QElapsedTimer clock;
    clock.start();
    const std::uint64_t generation = generations.advance();
    std::optional<DisplayUpdate> result = UpdatePipeline::compute(fs, request, generation, {});
    times.marks = result->pass.marks.size();
    std::unique_ptr<QTextDocument> document = DisplayDocumentBuilder::build(
        std::move(result->pass), request.font, QThread::currentThread());
    times.worker = msSince(clock);
    clock.restart();
    DisplaySwitcher switcher(view, generations);
    switcher.install(std::move(document), generation);
    view.repaint();
    QCoreApplication::processEvents();
    times.gui = msSince(clock);
    // Updates come at most once a second; by then the replaced document has been freed.
    QThreadPool::globalInstance()->waitForDone();
    return times;
}

// The median of runs updates, by whole time.
UpdateTimes medianUpdate(LogView& view, UpdateGeneration& generations, const LocalFileSystem& fs,
                         const UpdateRequest& request, int runs) {
    std::vector<UpdateTimes> all;
    for (int i = 0; i < runs; ++i) {
        all.push_back(update(view, generations, fs, request));
    }
    std::sort(all.begin(), all.end(),
              [](const UpdateTimes& a, const UpdateTimes& b) { return a.whole() < b.whole(); });
    return all[all.size() / 2];
}

double grepPipeline(const QString& file, std::int64_t bytes, const QStringList& keywords) {
    QString command =
        QStringLiteral("tail -c %1 '%2' | grep -i -F --color=always").arg(bytes).arg(file);
    for (const QString& keyword : keywords) {
        command += QStringLiteral(" -e '%1'").arg(keyword);
    }
    command += QStringLiteral(" | cat > /dev/null"); // grep would stop early writing to /dev/null
    QElapsedTimer clock;
    clock.start();
    QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), command});
    return msSince(clock);
}

// Counts what monitoring asks of the file system while the file stays as it is.
class CountingFileSystem final : public MonitorFileSystem {
public:
    bool exists(const QString& path) const override { return real.exists(path); }
    std::optional<FileStatus> status(const QString& path) const override {
        ++statusCalls;
        return real.status(path);
    }
    TailSnapshot read(const QString& path, std::int64_t count,
                      const TailReadOptions& options) const override {
        ++reads;
        return real.read(path, count, options);
    }
    LocalFileSystem real;
    mutable int statusCalls = 0;
    mutable int reads = 0;
};

void unchangedFileCost(const QString& file) {
    CountingFileSystem fs;
    MonitorControl monitor(fs);
    monitor.start({file, QStringLiteral("0"), QStringLiteral("1000"), EventLogChoice::None});
    monitor.recordRead(monitor.readTail());
    fs.statusCalls = fs.reads = 0;
    int changes = 0;
    for (int tick = 0; tick < 100; ++tick) {
        changes += monitor.tick() == TickAction::ReadAndNotify ? 1 : 0;
    }
    std::printf("unchanged file, 100 checks: %d status look-ups, %d reads, %d updates\n",
                fs.statusCalls, fs.reads, changes);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir dir;
    LocalFileSystem fs;
    UpdateGeneration generations;
    std::printf("%-6s %-8s %8s %10s %10s %10s %10s %8s %9s\n", "tail", "keywords", "marks",
                "worker ms", "GUI ms", "update ms", "grep ms", "ratio", "peak MB");
    for (const std::int64_t megabytes : {1, 10}) {
        const std::int64_t bytes = megabytes * 1000 * 1000;
        const QString file = dir.filePath(QStringLiteral("log-%1MB.log").arg(megabytes));
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(bench::generateLog(bytes + bytes / 10)); // the tail is cut from a longer file
        out.close();

        const std::pair<const char*, QStringList> lists[] = {
            {"none", {}}, {"10 words", bench::sparseKeywords()}, {"dense", bench::denseKeywords()}};
        for (const auto& [name, keywords] : lists) {
            LogView view;
            view.resize(900, 600);
            view.show();
            view.repaint(); // the window's first paint is not part of an update
            QCoreApplication::processEvents();
            UpdateRequest request{
                file, bytes, {}, keywords, {!keywords.isEmpty(), false, false}, view.font()};
            const UpdateTimes first = megabytes == 10 && keywords.isEmpty()
                                          ? update(view, generations, fs, request)
                                          : medianUpdate(view, generations, fs, request, 5);
            const double grep = keywords.isEmpty() ? 0.0 : grepPipeline(file, bytes, keywords);
            std::printf("%3lldMB  %-8s %8zu %10.1f %10.1f %10.1f %10.1f %8.2f %9.1f\n",
                        static_cast<long long>(megabytes), name, first.marks, first.worker,
                        first.gui, first.whole(), grep, grep > 0 ? first.whole() / grep : 0.0,
                        peakMegabytes());
            if (megabytes == 10 && keywords.isEmpty()) {
                double slowest = 0;
                for (int i = 0; i < 9; ++i) {
                    slowest = std::max(slowest, update(view, generations, fs, request).whole());
                }
                std::printf("        ten 10 MB updates: first %.1f ms, slowest repeat %.1f ms "
                            "(%.2fx), peak %.1f MB\n",
                            first.whole(), slowest, slowest / first.whole(), peakMegabytes());
            }
        }
        if (megabytes == 1) {
            unchangedFileCost(file);
        }
    }
    std::printf("targets: GUI <= 30 ms (1 MB) / 300 ms (10 MB); peak <= 40 MB + 10 x tail;\n"
                "         update <= 1.5x grep (1 MB) / 3x grep (10 MB); repeats <= 1.5x first\n"
                "(rows are the median of 5 updates, except the first 10 MB one)\n");
    return 0;
}
