// Stepping through a folder of 24-megapixel photographs in the picture window,
// fitted to a 1920 × 1080 screen: the time of one step, without a pause between
// the steps and with the half second a viewer looks at each picture (not timed),
// during which the next one is prepared. PICTRA_BENCH_PHOTOS names the folder
// (bench/pictures_peer.sh makes it).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "ScopedWindow.h"
#include "pictures/PictureWindow.h"

using namespace pictra;

namespace {

std::vector<std::string> photos() {
    std::vector<std::string> list;
    const char* folder = std::getenv("PICTRA_BENCH_PHOTOS");
    if (!folder) return list;
    for (const auto& e : std::filesystem::directory_iterator(folder)) list.push_back(e.path().string());
    std::sort(list.begin(), list.end());
    return list;
}

void stepThrough(benchmark::State& state, int pauseMs) {
    const auto list = photos();
    if (list.size() < 2) {
        state.SkipWithError("PICTRA_BENCH_PHOTOS names no folder of photographs");
        return;
    }
    bench::ScopedWindow w;
    ui::PictureWindow* window = w.window->pictureWindow();
    window->setScreenSize(QSize(1920, 1080));
    const auto shown = [window] {
        while (window->loading()) QApplication::processEvents(QEventLoop::AllEvents, 5);
    };
    window->showPictureFile(list.front(), list);
    shown();
    // The first picture is looked at too before the first step.
    if (pauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    for (auto _ : state) {
        window->stepPicture(true);
        shown();  // a step counts until its picture is on the screen
        benchmark::DoNotOptimize(window->displayed().bits());
        if (pauseMs > 0) {
            state.PauseTiming();
            std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
            state.ResumeTiming();
        }
    }
    window->close();
}

void BM_StepWithoutPause(benchmark::State& state) { stepThrough(state, 0); }
void BM_StepAfterViewing(benchmark::State& state) { stepThrough(state, 500); }

}  // namespace

BENCHMARK(BM_StepWithoutPause)->Unit(benchmark::kMillisecond)->Iterations(30)->UseRealTime();
BENCHMARK(BM_StepAfterViewing)->Unit(benchmark::kMillisecond)->Iterations(30)->UseRealTime();

int main(int argc, char** argv) { return pictra::bench::runWindowBenchmarks(argc, argv); }
