// Keyword scan, pass and display costs for generated 1 MB and 10 MB logs, with the ten-word
// list and the dense list (about 10 000 hits per megabyte). The model case is the worker's
// last step; the show case is what the window's thread spends on an update.
#include "LogGenerator.h"
#include "display/DisplayModel.h"
#include "display/KeywordMatcher.h"
#include "display/KeywordPass.h"
#include "display/LogView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <utility>

using namespace ombrel;

namespace {

// Cached, so that every case sees the same text without generating it again.
const QString& logText(std::int64_t megabytes) {
    static std::map<std::int64_t, QString> texts;
    auto [entry, added] = texts.try_emplace(megabytes);
    if (added) {
        entry->second = QString::fromLatin1(bench::generateLog(megabytes * 1000 * 1000));
    }
    return entry->second;
}

QStringList keywords(std::int64_t list) {
    return list == 0 ? bench::sparseKeywords() : bench::denseKeywords();
}

PassResult markedPass(std::int64_t megabytes, std::int64_t list) {
    return *KeywordPass::run({logText(megabytes), keywords(list), {true, false, false}, 1});
}

void describe(benchmark::State& state, std::int64_t megabytes, std::int64_t list) {
    state.SetLabel(list == 0 ? "10 words" : "dense");
    state.SetBytesProcessed(state.iterations() * megabytes * 1000 * 1000);
}

void scan(benchmark::State& state) {
    const QString& text = logText(state.range(0));
    const KeywordMatcher matcher(keywords(state.range(1)));
    std::size_t hits = 0;
    for (auto _ : state) {
        const auto found = matcher.findAll(text);
        hits = 0;
        for (const KeywordOccurrences& keyword : *found) {
            hits += keyword.starts.size();
        }
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = static_cast<double>(hits);
    describe(state, state.range(0), state.range(1));
}

void wholePass(benchmark::State& state) {
    const PassInput input{
        logText(state.range(0)), keywords(state.range(1)), {true, state.range(2) != 0, false}, 1};
    std::size_t marks = 0;
    for (auto _ : state) {
        const auto result = KeywordPass::run(input);
        marks = result->marks.size();
        benchmark::DoNotOptimize(result->text.size());
    }
    state.counters["marks"] = static_cast<double>(marks);
    describe(state, state.range(0), state.range(1));
}

// The one view the show case paints; made and dropped by main while the application lives, as
// a widget left for static destruction would outlive it.
std::unique_ptr<LogView> shownView;

LogView& display() {
    if (!shownView) {
        shownView = std::make_unique<LogView>();
        shownView->resize(900, 600);
        shownView->show();
    }
    return *shownView;
}

// Worker side: the display model of a pass result.
void buildModel(benchmark::State& state) {
    const PassResult result = markedPass(state.range(0), state.range(1));
    for (auto _ : state) {
        state.PauseTiming();
        PassResult copy = result;
        // The model rewrites its own text: give the copy characters of its own.
        copy.text.rewrite([](auto*, std::int64_t size) { return size; });
        state.ResumeTiming();
        auto model = DisplayModel::fromPass(std::move(copy));
        benchmark::DoNotOptimize(model.get());
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.counters["marks"] = static_cast<double>(result.marks.size());
    describe(state, state.range(0), state.range(1));
}

// Window side: swap the model in, then paint.
void showModel(benchmark::State& state) {
    const auto model = DisplayModel::fromPass(markedPass(state.range(0), state.range(1)));
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        display().setModel(model);
        display().repaint();
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
    state.counters["marks"] = static_cast<double>(model->marks().size());
    describe(state, state.range(0), state.range(1));
}

// Sizes in megabytes times the two keyword lists, without the line filter.
void sizesAndLists(benchmark::internal::Benchmark* bench) {
    for (const std::int64_t megabytes : {1, 10}) {
        for (const std::int64_t list : {0, 1}) {
            bench->Args({megabytes, list, 0}); // the third: the line filter (wholePass)
        }
    }
    bench->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(scan)->Apply(sizesAndLists);
BENCHMARK(wholePass)->Apply(sizesAndLists);
BENCHMARK(wholePass)->Args({10, 1, 1})->Unit(benchmark::kMillisecond); // with a line filter
BENCHMARK(buildModel)->Apply(sizesAndLists)->Iterations(5);
BENCHMARK(showModel)->Apply(sizesAndLists)->UseManualTime()->Iterations(5);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    shownView.reset();
    return 0;
}
