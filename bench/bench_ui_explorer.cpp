// The explorer's file list filled from a folder of 100,000 files, window included.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ScopedWindow.h"
#include "explorer/ExplorerWindow.h"

using namespace pictra;

namespace {

const std::string& bigFolder() {
    static const std::string folder = [] {
        const std::string f = (std::filesystem::temp_directory_path() / "pictra-bench-100k").string();
        if (!std::filesystem::exists(f + "/datei99999.txt")) {
            std::filesystem::create_directories(f);
            for (int i = 0; i < 100000; ++i) std::ofstream(f + "/datei" + std::to_string(i) + ".txt") << i;
        }
        return f;
    }();
    return folder;
}

void BM_ExplorerShows100000Files(benchmark::State& state) {
    SettingsStore store;
    bench::NoDialogs dialogs;
    bench::SilentSound sound;
    Tones tones(store, sound);
    explorer::FolderChronicle chronicle;
    CopySession copies;
    ui::ExplorerShared shared{store, dialogs, tones, chronicle, {}, {}, copies, "/tmp/pictra-bench/papierkorb"};
    ui::ExplorerWindow window(shared, '1', {});
    const std::string folder = bigFolder();
    for (auto _ : state) {
        window.showFiles(folder);
        benchmark::DoNotOptimize(window.fileList()->count());
    }
    state.counters["files"] = static_cast<double>(window.fileList()->count());
}

}  // namespace

BENCHMARK(BM_ExplorerShows100000Files)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) { return pictra::bench::runWindowBenchmarks(argc, argv); }
