// Reading a caption file of 100,000 lines (split and every line parsed), and the
// drawing plan of such a file over a picture, which stops at the picture's bottom.
#include <benchmark/benchmark.h>

#include <string>

#include "pictures/captions/Captions.h"

using namespace pictra::pictures::captions;

namespace {

std::string captionFile(int lines) {
    std::string bytes;
    for (int i = 0; i < lines; ++i) {
        bytes += i % 3 == 0 ? "#14000000fffffe Ferien am Meer, Tag " : i % 3 == 1 ? "_Ohne Stil, Zeile " : "#0cff0000ffffff ";
        bytes += std::to_string(i);
        bytes += "\r\n";
    }
    return bytes;
}

void BM_ParseCaptionFile(benchmark::State& state) {
    const std::string bytes = captionFile(100000);
    const CaptionStyle defaults;
    for (auto _ : state) {
        std::size_t total = 0;
        for (const std::string& line : splitCaptionLines(bytes)) total += parseCaptionLine(line, defaults).text.size();
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_PlanOverAPicture(benchmark::State& state) {
    const auto lines = splitCaptionLines(captionFile(100000));
    for (auto _ : state) benchmark::DoNotOptimize(captionPlan(lines, {}, 0, 0, 1080));
}

}  // namespace

BENCHMARK(BM_ParseCaptionFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanOverAPicture)->Unit(benchmark::kMicrosecond);
