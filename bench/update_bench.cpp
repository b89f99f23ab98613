// Measures one whole display update (read, decode, keyword pass, model, swap in, scroll to the
// end, paint) for generated 1, 10 and 100 MB logs, the time of it spent on the window's thread,
// peak memory, repeated updates, repaints after scrolling, a few awkward texts, what an
// unchanged file costs, and the same tail shown by a grep pipeline for comparison.
// usage: update_bench [largest size in MB, default 100; 1074 adds a 1 GiB tail]
#include "LogGenerator.h"
#include "app/UpdatePipeline.h"
#include "display/LogView.h"
#include "tail/MonitorControl.h"
#include "tail/MonitorFileSystem.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThreadPool>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
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

// Processor time of the calling thread: what the window's thread itself spends, however busy
// the machine is with other work.
double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct UpdateTimes {
    double worker = 0;
    double gui = 0;
    double guiCpu = 0;
    double whole() const { return worker + gui; }
    std::size_t marks = 0;
};

// One update as the window makes it, timed in its two halves: the worker's (read, decode,
// keyword pass, model) and the window thread's (swap in, scroll to the end, paint).
UpdateTimes update(LogView& view, const LocalFileSystem& fs, const UpdateRequest& request) {
    UpdateTimes times;
    QElapsedTimer clock;
    clock.start();
    std::optional<DisplayUpdate> result = UpdatePipeline::compute(fs, request, 1, {});
    times.marks = result->model->marks().size();
    times.worker = msSince(clock);
    clock.restart();
    const double cpuBefore = threadCpuMs();
    view.setModel(std::move(result->model));
    view.repaint();
    QCoreApplication::processEvents();
    times.gui = msSince(clock);
    times.guiCpu = threadCpuMs() - cpuBefore;
    // Updates come at most once a second; by then the replaced model has been freed.
    QThreadPool::globalInstance()->waitForDone();
    return times;
}

// The median of runs updates, by whole time.
UpdateTimes medianUpdate(LogView& view, const LocalFileSystem& fs, const UpdateRequest& request,
                         int runs) {
    std::vector<UpdateTimes> all;
    for (int i = 0; i < runs; ++i) {
        all.push_back(update(view, fs, request));
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

// Full repaints of the view after scrolling to the top, to the middle and a page down.
void scrollAndPaint(LogView& view, const char* what) {
    QScrollBar* down = view.verticalScrollBar();
    std::vector<double> times;
    std::vector<double> cpu;
    for (const int value :
         {0, down->maximum() / 2, down->maximum() / 2 + down->pageStep(), down->maximum()}) {
        down->setValue(value);
        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = threadCpuMs();
        view.repaint();
        times.push_back(msSince(clock));
        cpu.push_back(threadCpuMs() - cpuBefore);
    }
    std::printf("        %s: repaint after scrolling top %.2f ms, middle %.2f ms, page down %.2f "
                "ms, end %.2f ms (cpu %.2f, %.2f, %.2f, %.2f ms)\n",
                what, times[0], times[1], times[2], times[3], cpu[0], cpu[1], cpu[2], cpu[3]);
    // For a look at the largest tail: OMBREL_SCREENSHOT_DIR=/some/dir update_bench
    const QString folder = qEnvironmentVariable("OMBREL_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        view.grab().save(folder + QStringLiteral("/bench-end.png"));
        down->setValue(0);
        view.grab().save(folder + QStringLiteral("/bench-top.png"));
        down->setValue(down->maximum());
    }
}

// How many characters are selected, as a screen reader asks, without copying them.
int selectedCount(LogView& view) {
    int start = 0;
    int end = 0;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&view);
    if (accessible == nullptr || accessible->textInterface() == nullptr ||
        accessible->textInterface()->selectionCount() == 0) {
        return 0;
    }
    accessible->textInterface()->selection(0, &start, &end);
    return end - start;
}

// Counts what monitoring asks of the file system while the file stays as it is.
class CountingFileSystem final : public MonitorFileSystem {
public:
    PathKind kind(const QString& path) const override { return real.kind(path); }
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

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(bytes);
    return path;
}

// Texts that cost the most per byte: many empty lines, one very long line, a line full of hits,
// and (with a largest size of 100 MB or more) logs that are not all ASCII: one Latin-1, one
// with a character above U+00FF, one with such characters on a third of its lines. The peak
// after each is its own when it exceeds the rows'.
void awkwardTexts(const QTemporaryDir& dir, const LocalFileSystem& fs, std::int64_t largest) {
    // The bytes are made when written and then let go of: the peak is the update's.
    struct Case {
        const char* name;
        std::function<QByteArray()> bytes;
        QStringList keywords;
    };
    std::vector<Case> cases = {
        {"10 MB of empty lines", [] { return QByteArray(10'000'000, '\n'); }, {}},
        {"one 50 MB line", [] { return QByteArray(50'000'000, 'x'); }, {QStringLiteral("xyz")}},
        {"one 1 MB line, keyword \"a\"",
         [] { return QByteArray(1'000'000, 'a'); },
         {QStringLiteral("a")}},
    };
    if (largest >= 100) {
        // "café" is Latin-1, one byte a character; each "€" is a 0 byte and a unit listed apart.
        cases.push_back({"100 MB Latin-1 UTF-8, 10 w.",
                         [] { return "caf\xC3\xA9\n" + bench::generateLog(100'000'000 - 6); },
                         bench::sparseKeywords()});
        cases.push_back({"100 MB other UTF-8, 10 w.",
                         [] { return "\xE2\x82\xAC\n" + bench::generateLog(100'000'000 - 4); },
                         bench::sparseKeywords()});
        cases.push_back({"100 MB, a third with \xE2\x82\xAC",
                         [] {
                             QByteArray log = bench::generateLog(97'000'000);
                             return log.replace("pool ", "pool \xE2\x82\xAC ");
                         },
                         bench::sparseKeywords()});
        // Messages in Cyrillic: most characters above U+00FF, held as UTF-16.
        cases.push_back({"100 MB, Cyrillic messages",
                         [] {
                             QByteArray log = bench::generateLog(60'000'000);
                             for (const char* word :
                                  {"request", "completed", "user", "session", "cache", "query",
                                   "rows", "returned", "connection", "worker", "queue", "job"}) {
                                 log.replace(word,
                                             "\xD0\xB7\xD0\xB0\xD0\xBF\xD1\x80\xD0\xBE\xD1\x81");
                             }
                             return log.left(100'000'000);
                         },
                         bench::sparseKeywords()});
    }
    for (const auto& c : cases) {
        const QString file = writeFile(dir, QStringLiteral("awkward.log"), c.bytes());
        const std::int64_t size = QFileInfo(file).size();
        LogView view;
        view.resize(900, 600);
        view.show();
        const UpdateRequest request{file, size, {}, c.keywords, {true, false, false}, false, {}};
        update(view, fs, request);
        // The second update is timed: the first one's model is on screen meanwhile, as when
        // a watched file changes.
        const UpdateTimes times = update(view, fs, request);
        view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 2);
        QElapsedTimer clock;
        clock.start();
        view.repaint();
        const double repaint = msSince(clock);
        const double grep = c.keywords.isEmpty() ? 0.0 : grepPipeline(file, size, c.keywords);
        std::printf(
            "%-28s worker %.1f ms, GUI %.1f ms (cpu %.1f ms, %.2fx grep), %zu marks, scroll bar %d "
            "px, repaint mid-line %.2f ms, peak %.1f MB\n",
            c.name, times.worker, times.gui, times.guiCpu, grep > 0 ? times.whole() / grep : 0.0,
            times.marks, view.horizontalScrollBar()->maximum(), repaint, peakMegabytes());
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const std::int64_t largest = argc > 1 ? std::atoll(argv[1]) : 100;
    QTemporaryDir dir;
    LocalFileSystem fs;
    std::printf("%-6s %-8s %8s %10s %10s %8s %10s %10s %8s %9s\n", "tail", "keywords", "marks",
                "worker ms", "GUI ms", "GUI cpu", "update ms", "grep ms", "ratio", "peak MB");
    for (const std::int64_t megabytes : {1, 10, 100, 1074}) { // the last is 1 GiB
        if (megabytes > largest) {
            break;
        }
        const std::int64_t bytes = megabytes * 1000 * 1000;
        // The tail is cut from a longer file.
        const QString file = writeFile(dir, QStringLiteral("log-%1MB.log").arg(megabytes),
                                       bench::generateLog(bytes + bytes / 10));
        const std::pair<const char*, QStringList> lists[] = {
            {"none", {}}, {"10 words", bench::sparseKeywords()}, {"dense", bench::denseKeywords()}};
        for (const auto& [name, keywords] : lists) {
            LogView view;
            view.resize(900, 600);
            view.show();
            view.repaint(); // the window's first paint is not part of an update
            QCoreApplication::processEvents();
            const UpdateRequest request{
                file, bytes, {}, keywords, {!keywords.isEmpty(), false, false}, false, {}};
            const bool once = megabytes >= 100 || (megabytes == 10 && keywords.isEmpty());
            const UpdateTimes first =
                once ? update(view, fs, request) : medianUpdate(view, fs, request, 5);
            const double grep = keywords.isEmpty() ? 0.0 : grepPipeline(file, bytes, keywords);
            std::printf("%3lldMB  %-8s %8zu %10.1f %10.1f %8.1f %10.1f %10.1f %8.2f %9.1f\n",
                        static_cast<long long>(megabytes), name, first.marks, first.worker,
                        first.gui, first.guiCpu, first.whole(), grep,
                        grep > 0 ? first.whole() / grep : 0.0, peakMegabytes());
            if (keywords.isEmpty() && megabytes >= 10 && megabytes <= 100) {
                double slowest = 0;
                double slowestGui = 0;
                for (int i = 0; i < 9; ++i) {
                    const UpdateTimes again = update(view, fs, request);
                    slowest = std::max(slowest, again.whole());
                    slowestGui = std::max(slowestGui, again.gui);
                }
                std::printf("        ten %lld MB updates: first %.1f ms, slowest repeat %.1f ms "
                            "(%.2fx, GUI %.1f ms), peak %.1f MB\n",
                            static_cast<long long>(megabytes), first.whole(), slowest,
                            slowest / first.whole(), slowestGui, peakMegabytes());
                // The whole text selected: the update carries the selection over.
                view.selectAll();
                const UpdateTimes selected = update(view, fs, request);
                std::printf("        all selected: update %.1f ms, GUI %.1f ms (cpu %.1f ms), "
                            "%lld characters still selected\n",
                            selected.whole(), selected.gui, selected.guiCpu,
                            static_cast<long long>(selectedCount(view)));
            }
            if (megabytes == largest && std::string_view(name) == "dense") {
                scrollAndPaint(view, "dense marks");
            }
        }
        if (megabytes == 1) {
            unchangedFileCost(file);
        }
    }
    awkwardTexts(dir, fs, largest);
    std::printf("targets: update <= 1.5x grep (1, 10 MB) / 2x grep (100 MB); GUI <= 16 ms;\n"
                "         repaint after scrolling <= 8 ms; peak <= 40 MB + 3 x tail;\n"
                "         repeats <= 1.2x first\n"
                "(rows are the median of 5 updates, except 100 MB and the first 10 MB one)\n");
    return 0;
}
