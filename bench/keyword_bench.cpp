// Keyword scan, pass and display costs for generated 1 MB and 10 MB logs, with the ten-word
// list and the dense list (about 10 000 hits per megabyte). The GUI cases measure what the
// window's thread spends: swapping in a document built on a worker, or setting the text and
// applying the marks in place.
#include "LogGenerator.h"
#include "display/DisplayDocumentBuilder.h"
#include "display/DisplaySwitcher.h"
#include "display/KeywordMatcher.h"
#include "display/KeywordPass.h"
#include "display/MarkApplier.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <map>
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
        benchmark::DoNotOptimize(result->text.constData());
    }
    state.counters["marks"] = static_cast<double>(marks);
    describe(state, state.range(0), state.range(1));
}

QPlainTextEdit& display() {
    static QPlainTextEdit edit;
    if (!edit.isVisible()) {
        edit.setReadOnly(true);
        edit.setLineWrapMode(QPlainTextEdit::NoWrap);
        edit.setUndoRedoEnabled(false);
        edit.resize(900, 600);
        edit.show();
    }
    return edit;
}

// Worker side of the fast route: the finished document.
void buildDocument(benchmark::State& state) {
    const PassResult result = markedPass(state.range(0), state.range(1));
    for (auto _ : state) {
        auto document = DisplayDocumentBuilder::build(result, display().font(), nullptr);
        benchmark::DoNotOptimize(document.get());
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.counters["marks"] = static_cast<double>(result.marks.size());
    describe(state, state.range(0), state.range(1));
}

// Window side of the fast route: swap in the built document, then paint.
void installDocument(benchmark::State& state) {
    const PassResult result = markedPass(state.range(0), state.range(1));
    UpdateGeneration generations;
    DisplaySwitcher switcher(display(), generations);
    for (auto _ : state) {
        auto document = DisplayDocumentBuilder::build(result, display().font(), display().thread());
        const std::uint64_t generation = generations.advance();
        QElapsedTimer clock;
        clock.start();
        switcher.install(std::move(document), generation);
        display().repaint();
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
    state.counters["marks"] = static_cast<double>(result.marks.size());
    describe(state, state.range(0), state.range(1));
}

// Window side of the simple route: set the text and apply the marks in place, then paint.
void presentInPlace(benchmark::State& state) {
    PassResult result = markedPass(state.range(0), state.range(1));
    UpdateGeneration generations;
    DisplaySwitcher switcher(display(), generations);
    for (auto _ : state) {
        result.generation = generations.advance();
        QElapsedTimer clock;
        clock.start();
        switcher.present(result);
        display().repaint();
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
    state.counters["marks"] = static_cast<double>(result.marks.size());
    describe(state, state.range(0), state.range(1));
}

// The marks alone, on a display that already holds the text.
void applyMarks(benchmark::State& state) {
    const PassResult result = markedPass(state.range(0), state.range(1));
    for (auto _ : state) {
        display().setPlainText(result.text);
        QElapsedTimer clock;
        clock.start();
        MarkApplier::apply(*display().document(), result.marks);
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
    state.counters["marks"] = static_cast<double>(result.marks.size());
    describe(state, state.range(0), state.range(1));
}

// Sizes in megabytes times the two keyword lists.
void sizesAndLists(benchmark::internal::Benchmark* bench) {
    for (const std::int64_t megabytes : {1, 10}) {
        for (const std::int64_t list : {0, 1}) {
            bench->Args({megabytes, list});
        }
    }
    bench->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(scan)->Apply(sizesAndLists);
BENCHMARK(wholePass)->Apply(sizesAndLists);
BENCHMARK(wholePass)->Args({10, 1, 1})->Unit(benchmark::kMillisecond); // with a line filter
BENCHMARK(buildDocument)->Apply(sizesAndLists)->Iterations(5);
BENCHMARK(installDocument)->Apply(sizesAndLists)->UseManualTime()->Iterations(5);
BENCHMARK(presentInPlace)->Apply(sizesAndLists)->UseManualTime()->Iterations(5);
BENCHMARK(applyMarks)->Apply(sizesAndLists)->UseManualTime()->Iterations(5);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
