// Three caption lines drawn into a picture's pixels, as the editor's overlay and
// a ".jp0" opened as a picture do: on a 1920 × 1080 screen picture and on a
// 24-megapixel photograph. The overlay must never hold a picture back.
#include <benchmark/benchmark.h>

#include "ScopedWindow.h"
#include "pictures/captions/Captions.h"
#include "platform/pictures/CaptionDrawing.h"
#include "platform/pictures/TextDrawing.h"

using namespace pictra;
namespace cap = pictures::captions;

namespace {

void BM_ThreeCaptionLines(benchmark::State& state) {
    pictures::Bitmap32 picture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    picture.clear(0xFF808080u);
    const std::vector<std::string> lines = {"#14000000fffffe Ferien am Meer", "#14000000ffffff Sommer 2024",
                                            "_mit Oma und Opa"};
    for (auto _ : state) {
        platform::pictures::drawCaptions(picture, cap::captionPlan(lines, {20, 0, 0xFFFFFF}, 0, 0, picture.height()));
        benchmark::DoNotOptimize(picture.bits());
    }
}

void BM_ThreeDTitle(benchmark::State& state) {
    pictures::Bitmap32 picture(1920, 1080);
    picture.clear(0xFF808080u);
    platform::pictures::TextLook look;
    look.size = 48;
    look.threeD = true;
    for (auto _ : state) {
        platform::pictures::writeText(picture, "Ferien am Meer 2024", look, 100, 100);
        benchmark::DoNotOptimize(picture.bits());
    }
}

}  // namespace

BENCHMARK(BM_ThreeCaptionLines)->Args({1920, 1080})->Args({6000, 4000})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ThreeDTitle)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) { return pictra::bench::runWindowBenchmarks(argc, argv); }
