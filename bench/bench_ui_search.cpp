// "Start Suche" in the search window until its closing tone, over the tree that
// search_peer.sh makes (run that first), to set beside search_tool's time.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <cstdlib>
#include <filesystem>

#include "ScopedWindow.h"
#include "explorer/MarkedFiles.h"
#include "explorer/search/ResultModel.h"
#include "explorer/search/SearchWindow.h"

using namespace pictra;

namespace {

void BM_SearchWindowFindsTheWord(benchmark::State& state) {
    const char* dir = std::getenv("PICTRA_BENCH_DIR");
    const std::string tree = std::string(dir ? dir : "/var/tmp/pictra-bench-search") + "/tree";
    if (!std::filesystem::exists(tree + "/o29/u39")) {
        state.SkipWithError("no tree: run bench/search_peer.sh first");
        return;
    }
    SettingsStore store;
    bench::NoDialogs dialogs;
    bench::SilentSound sound;
    Tones tones(store, sound);
    explorer::MarkedFiles marked;
    filesearch::SearchSession session;
    session.matchCase = state.range(0) != 0;
    ui::SearchWindow window(ui::SearchShared{store, dialogs, tones, marked, session, "/tmp/pictra-bench/papierkorb"}, {});
    window.findChild<QLineEdit*>("Edit7")->setText(QString::fromStdString(tree));
    window.findChild<QLineEdit*>("Edit4")->setText("Gartenzwerg");
    for (auto _ : state) window.startSearch();
    state.counters["hits"] = window.results()->rowCount();
}

}  // namespace

BENCHMARK(BM_SearchWindowFindsTheWord)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv) { return pictra::bench::runWindowBenchmarks(argc, argv); }
