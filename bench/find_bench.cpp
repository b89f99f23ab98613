// Find and keyword expressions beside grep, on the same generated tail held in memory the way
// the display holds it (narrow, one byte a character), for 100 MB and 1 GiB: the first match
// of a literal near the start after a key press, counts of a literal and of an expression
// against grep -c, ten keyword expressions against grep --color, and what a key press costs
// the window's thread (posting the search and finding the matches of the lines on a screen).
// usage: find_bench [sizes in MB, default 100 1074]
#include "LogGenerator.h"
#include "display/DisplayModel.h"
#include "display/KeywordPass.h"
#include "find/FindWorker.h"
#include "find/TextFinder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace ombrel;

namespace {

double msSince(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The best of three runs of a shell command, with its output.
double shellMs(const QString& command, QString* output = nullptr) {
    double best = 1e18;
    for (int run = 0; run < 3; ++run) {
        QProcess shell;
        QElapsedTimer clock;
        clock.start();
        shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
        shell.waitForFinished(-1);
        best = std::min(best, msSince(clock));
        if (output != nullptr) {
            *output = QString::fromLocal8Bit(shell.readAllStandardOutput()).trimmed();
        }
    }
    return best;
}

template <class F> double bestMs(F&& work) {
    double best = 1e18;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer clock;
        clock.start();
        work();
        best = std::min(best, msSince(clock));
    }
    return best;
}

std::int64_t countOf(const LogText& text, const QString& pattern, RegexOptions options) {
    RegexScanner scanner(RegexPattern::compile(pattern, options, nullptr));
    return TextFinder::count(scanner, text, 0)->total;
}

void compareCount(const LogText& text, const QString& file, const QString& pattern,
                  RegexOptions options, const char* grepFlags) {
    std::int64_t total = 0;
    const double ours = bestMs([&] { total = countOf(text, pattern, options); });
    QString lines;
    const double grep = shellMs(
        QStringLiteral("grep -c %1 -e '%2' '%3'").arg(QLatin1String(grepFlags), pattern, file),
        &lines);
    std::printf("    count %-24s %9.1f ms (%lld matches)   grep -c %-6s %9.1f ms (%s lines)   "
                "ratio %.2f\n",
                qPrintable(pattern), ours, static_cast<long long>(total), grepFlags, grep,
                qPrintable(lines), ours / grep);
}

void measure(std::int64_t megabytes, const QTemporaryDir& dir) {
    const std::int64_t bytes = megabytes * 1000 * 1000;
    const QByteArray block = bench::generateLog(std::min<std::int64_t>(bytes, 100'000'000));
    QByteArray log;
    log.reserve(bytes);
    while (log.size() < bytes) {
        log += block.left(bytes - log.size());
    }
    const QString file = dir.filePath(QStringLiteral("tail-%1.log").arg(megabytes));
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    out.write(log);
    out.close();
    std::printf("%lld MB tail\n", static_cast<long long>(megabytes));
    PassResult pass;
    pass.text = LogText::fromNarrow(log, QString());
    log = QByteArray();
    const auto model = DisplayModel::fromPass(std::move(pass));
    const LogText& text = model->content();

    // A key press: the search starts from the caret (at the end, as after an update), wraps,
    // and finds a word of the tenth line.
    const QString nearStart = text.mid(model->lineStart(10) + 16, 12).trimmed();
    FindWorker worker;
    double firstMatch = 1e18;
    double pressCpu = 1e18;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer clock;
        bool shown = false;
        QObject::connect(&worker, &FindWorker::resultReady, &worker, [&](const FindResult& result) {
            if (result.match && !shown) {
                shown = true;
                firstMatch = std::min(firstMatch, msSince(clock));
            }
        });
        clock.start();
        const double cpu = threadCpuMs();
        worker.start({model, {nearStart}, FindMove::Next, text.size(), text.size()});
        // The window's share: the matches of the 60 lines of a screen, as the repaint finds them.
        RegexScanner painter(RegexPattern::compile(nearStart, {false, true, false}, nullptr),
                             20'000);
        std::int64_t onScreen = 0;
        for (std::int64_t line = 0; line < 60; ++line) {
            const std::int64_t start = model->lineStart(line);
            painter.scanPiece(text, start, start + model->lineLength(line),
                              [&onScreen](std::int64_t, std::int64_t) {
                                  ++onScreen;
                                  return true;
                              });
        }
        pressCpu = std::min(pressCpu, threadCpuMs() - cpu);
        while (!shown) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        worker.waitForIdle(60'000);
        QObject::disconnect(&worker, nullptr, &worker, nullptr);
    }
    std::printf("    \"%s\" near the start, from the caret at the end: first match %.1f ms after "
                "the key press; window thread %.2f ms a key press\n",
                qPrintable(nearStart), firstMatch, pressCpu);

    compareCount(text, file, QStringLiteral("retrying"), {true, true, false}, "-F");
    compareCount(text, file, QStringLiteral("retrying"), {false, true, false}, "-i -F");
    compareCount(text, file, QStringLiteral("err(or)? [0-9]{3}"), {true, false, false}, "-P");
    compareCount(text, file, QStringLiteral("5[0-9] web0[12] [a-z]{4}"), {true, false, false},
                 "-P");

    if (megabytes > 100) {
        return;
    }
    // Ten keyword expressions: the whole update (read, pass, model) beside grep --color.
    const QStringList keywords = {QStringLiteral("err(or)?"),  QStringLiteral("fatal"),
                                  QStringLiteral("time ?out"), QStringLiteral("segfault at [a-z]+"),
                                  QStringLiteral("exception"), QStringLiteral("refus(ed|al)"),
                                  QStringLiteral("panic:"),    QStringLiteral("denied"),
                                  QStringLiteral("critical"),  QStringLiteral("trace ?back")};
    std::size_t marks = 0;
    const double update = bestMs([&] {
        QFile in(file);
        in.open(QIODevice::ReadOnly);
        PassInput input{
            LogText::fromNarrow(in.readAll(), QString()), keywords, {true, false, false, true}, 1};
        auto result = KeywordPass::run(input);
        input.text = LogText();
        marks = result->marks.size();
        auto shown = DisplayModel::fromPass(std::move(*result));
    });
    const double grep = shellMs(QStringLiteral("grep -i -P --color=always -e '%1' '%2' | wc -c")
                                    .arg(keywords.join(u'|'), file));
    std::printf("    ten keyword expressions: update %.1f ms (%zu marks)   grep -i -P "
                "--color=always %.1f ms   ratio %.2f\n",
                update, marks, grep, update / grep);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QList<std::int64_t> sizes;
    for (int i = 1; i < argc; ++i) {
        sizes.append(QByteArray(argv[i]).toLongLong());
    }
    if (sizes.isEmpty()) {
        sizes = {100, 1074};
    }
    QTemporaryDir dir;
    for (const std::int64_t megabytes : sizes) {
        measure(megabytes, dir);
    }
    return 0;
}
