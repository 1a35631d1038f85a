// Settings store: loading a large settings file and the linear reads every Part does.
#include <benchmark/benchmark.h>

#include <string>

#include "common/Codec.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace {

std::string settingsText(int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i) {
        text += "Sektion" + std::to_string(i % 97) + "|Schlüssel" + std::to_string(i) + " = Wert " +
                std::to_string(i * 7) + "\r\n";
    }
    return text;
}

void BM_DecodeAndSortSettings(benchmark::State& state) {
    const std::string text = settingsText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto lines = pictra::SettingsFile::decodeLines(text);
        pictra::sortSettingsLines(lines);
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_DecodeAndSortSettings)->Arg(1000)->Arg(200000);

void BM_ReadValue(benchmark::State& state) {
    pictra::SettingsStore store;
    auto lines = pictra::SettingsFile::decodeLines(settingsText(static_cast<int>(state.range(0))));
    pictra::sortSettingsLines(lines);
    store.setLines(std::move(lines));
    for (auto _ : state) benchmark::DoNotOptimize(store.readValue("Einstellungen", "Schrift"));
}
BENCHMARK(BM_ReadValue)->Arg(1000)->Arg(10000);

void BM_Cp1252ToUtf8(benchmark::State& state) {
    std::string text;
    for (int i = 0; i < 1 << 20; ++i) text.push_back(static_cast<char>(i % 3 ? 'a' + i % 26 : 0xE4));
    for (auto _ : state) benchmark::DoNotOptimize(pictra::codec::cp1252ToUtf8(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Cp1252ToUtf8);

void BM_SynthesizeChimeTone(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(pictra::synthesizeTone(528.0, 100, 100));
}
BENCHMARK(BM_SynthesizeChimeTone);

}  // namespace
