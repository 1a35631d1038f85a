// The expression evaluator on a typical calculator line and on long sums.
#include <benchmark/benchmark.h>

#include <string>

#include "calc/Evaluator.h"

namespace {

void BM_TypicalLine(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(pictra::calc::EvaluateExpression("2,49+5,38*(4,79+1)+cos(Pi/4)"));
}
BENCHMARK(BM_TypicalLine);

void BM_LongSum(benchmark::State& state) {
    std::string sum = "1";
    for (int i = 1; i < state.range(0); ++i) sum += "+1";
    for (auto _ : state) benchmark::DoNotOptimize(pictra::calc::EvaluateExpression(sum));
    // Terms per second; its inverse is the time per term, which stays flat when the sum grows.
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_LongSum)->Arg(2000)->Arg(20000)->Unit(benchmark::kMicrosecond);

}  // namespace
