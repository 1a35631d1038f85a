// The resampler alone on a 24-megapixel picture, and the quarter turn.
#include <benchmark/benchmark.h>

#include "pictures/Resampler.h"

using namespace pictra::pictures;

namespace {

const Bitmap32& photo() {
    static const Bitmap32 picture = [] {
        Bitmap32 b(6000, 4000);
        std::uint32_t seed = 12345;
        for (int y = 0; y < b.height(); ++y) {
            for (int x = 0; x < b.width(); ++x) {
                seed = seed * 1664525u + 1013904223u;
                const std::uint32_t smooth = static_cast<std::uint32_t>((x / 7 + y / 5) & 0xFF);
                b.row(y)[x] = 0xFF000000u | (smooth << 16) | ((seed >> 24) << 8) | ((x * y) & 0xFF);
            }
        }
        return b;
    }();
    return picture;
}

void resample(benchmark::State& state, StretchFilter filter, int threads) {
    setResamplerThreads(threads);
    const Bitmap32& source = photo();
    for (auto _ : state) {
        Bitmap32 out = resized(source, 1620, 1080, filter);
        benchmark::DoNotOptimize(out.bits());
    }
    // Megapixels of the source per second.
    state.counters["MP/s"] = benchmark::Counter(24.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ResampleLanczos(benchmark::State& state) { resample(state, StretchFilter::Lanczos, static_cast<int>(state.range(0))); }
void BM_ResampleMitchell(benchmark::State& state) { resample(state, StretchFilter::Mitchell, static_cast<int>(state.range(0))); }

void BM_TurnRight(benchmark::State& state) {
    Bitmap32 target;
    for (auto _ : state) {
        turnRight(photo(), target);
        benchmark::DoNotOptimize(target.bits());
    }
    state.counters["MP/s"] = benchmark::Counter(24.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_ResampleLanczos)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ResampleMitchell)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TurnRight)->Unit(benchmark::kMillisecond)->UseRealTime();
