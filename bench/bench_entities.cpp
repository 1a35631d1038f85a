// Encoding and decoding a 1 MB German HTML text, in the basic and the mathematical mode.
#include <benchmark/benchmark.h>

#include <string>

#include "html/Entities.h"

namespace {

std::string germanHtml(bool encoded) {
    const std::string decodedLine =
        "<p>Die Sch\xFCler \xFC" "ben f\xFCr die Pr\xFC" "fung \x96 Gr\xF6\xDF" "e, Ma\xDF" "e und \x84Gewichte\x93 "
        "\x80 12,50 &ndash; <br /> sch\xF6n -- oder?</p>\r\n";
    const std::string encodedLine =
        "<p>Die Sch&uuml;ler &uuml;ben f&uuml;r die Pr&uuml;fung &ndash; Gr&ouml;&szlig;e, Ma&szlig;e und "
        "&bdquo;Gewichte&ldquo; &euro; 12,50 &amp; <br> sch&ouml;n &mdash;&mdash; oder?</p>\r\n";
    const std::string& line = encoded ? encodedLine : decodedLine;
    std::string text;
    while (text.size() < 1024 * 1024) text += line;
    return text;
}

void BM_Encode(benchmark::State& state) {
    const std::string text = germanHtml(false);
    pictra::EntityTable table;
    if (state.range(0)) table.buildMath();
    for (auto _ : state) benchmark::DoNotOptimize(table.encode(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Encode)->ArgName("math")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Decode(benchmark::State& state) {
    const std::string text = germanHtml(true);
    pictra::EntityTable table;
    if (state.range(0)) table.buildMath();
    for (auto _ : state) benchmark::DoNotOptimize(table.decode(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Decode)->ArgName("math")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
