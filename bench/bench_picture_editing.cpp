// The picture editor's filters on a 24-megapixel picture, in megapixels per second
// (one core): pixel maps, the 3 × 3 filters and the order-bound smoothing.
#include <benchmark/benchmark.h>

#include "pictures/Bitmap32.h"
#include "pictures/editing/Colours.h"
#include "pictures/editing/Filters.h"

using namespace pictra::pictures;
namespace ed = pictra::pictures::editing;

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

const Bitmap32& photo() {
    static const Bitmap32 picture = [] {
        Bitmap32 b(kWidth, kHeight);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) b.row(y)[x] = ed::rgb((x * 7) & 255, (y * 3) & 255, (x + y) & 255);
        }
        return b;
    }();
    return picture;
}

template <typename F>
void run(benchmark::State& state, F filter) {
    Bitmap32 picture = photo();
    for (auto _ : state) {
        filter(picture);
        benchmark::DoNotOptimize(picture.bits());
    }
    state.counters["MP/s"] = benchmark::Counter(static_cast<double>(kWidth) * kHeight / 1e6 * state.iterations(),
                                                benchmark::Counter::kIsRate);
}

void BM_Mask(benchmark::State& s) { run(s, [](Bitmap32& b) { ed::applyMask(b, 7); }); }
void BM_Invert(benchmark::State& s) { run(s, [](Bitmap32& b) { ed::invertColours(b); }); }
void BM_Mirror(benchmark::State& s) { run(s, [](Bitmap32& b) { ed::mirror(b); }); }
void BM_GreyToBlackWhite(benchmark::State& s) { run(s, [](Bitmap32& b) { ed::greyToBlackWhite(b); }); }
void BM_BrightenDark(benchmark::State& s) { run(s, [](Bitmap32& b) { ed::brightenDark(b, 128); }); }
void BM_Sharpen(benchmark::State& s) { run(s, [](Bitmap32& b) { b = ed::sharpened(b, 3); }); }
void BM_Smooth(benchmark::State& s) { run(s, [](Bitmap32& b) { ed::smooth(b); }); }

}  // namespace

BENCHMARK(BM_Mask)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Invert)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Mirror)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GreyToBlackWhite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BrightenDark)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Sharpen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Smooth)->Unit(benchmark::kMillisecond)->UseRealTime();
