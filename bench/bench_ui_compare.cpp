// The compare window on two 100,000-line files (1 % of the lines changed, some
// inserted and deleted): shown with both sides filled and compared, "Neu
// vergleichen" alone, and "Automatisch ausrichten" with its compare.
#include <benchmark/benchmark.h>

#include <QPushButton>

#include <fstream>

#include "ScopedWindow.h"
#include "common/Text.h"
#include "explorer/compare/CompareWindow.h"

using namespace pictra;

namespace {

const char* kSecondFile = "/tmp/pictra-bench/vergleich.txt";

// The second file, chosen without a dialog.
class ChoosingDialogs : public bench::NoDialogs {
public:
    std::optional<std::string> chooseOpenFile(const std::string&, const std::string&) override { return kSecondFile; }
};

struct Texts {
    std::vector<std::string> document;
    Texts() {
        const char* words[] = {"Schule", "Klasse", "Note", "Eltern", "Brief", "Termin", "Ausflug", "Zeugnis"};
        unsigned seed = 4711;
        const auto next = [&seed](unsigned range) { return (seed = seed * 1103515245u + 12345u) / 65536 % range; };
        std::string file;
        for (int i = 0; i < 100000; ++i) {
            std::string line;
            for (int w = 0; w < 10; ++w) line += std::string(words[next(8)]) + " ";
            line += std::to_string(i);
            document.push_back(line);
            const unsigned r = next(1000);
            if (r < 4) continue;  // deleted
            if (r < 8) file += "eingefuegt " + line + "\r\n";
            if (r < 10) line[0] = 'X';
            file += line + "\r\n";
        }
        std::ofstream(kSecondFile, std::ios::binary) << file;
    }
};

const Texts& texts() {
    static const Texts t;
    return t;
}

struct Opened {
    bench::ScopedWindow w;
    ChoosingDialogs dialogs;
    ui::CompareWindow window{dialogs, w.tones, "/tmp/pictra-bench/papierkorb"};
    void open() {
        window.open("Vergleich", texts().document, kSecondFile, [](const std::vector<std::string>&) {});
        QApplication::processEvents();
    }
    void click(const char* name) {
        window.findChild<QPushButton*>(name)->click();
        QApplication::processEvents();
    }
};

void BM_CompareWindowShown(benchmark::State& state) {
    texts();
    Opened o;
    for (auto _ : state) {
        o.open();
        benchmark::DoNotOptimize(o.window.grid().differing());
        state.PauseTiming();
        o.window.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_PositionalCompare(benchmark::State& state) {
    Opened o;
    o.open();
    for (auto _ : state) o.click("BNeu");
}

void BM_AlignInTheWindow(benchmark::State& state) {
    Opened o;
    for (auto _ : state) {
        state.PauseTiming();
        o.open();
        state.ResumeTiming();
        o.click("BAusrichten");
        benchmark::DoNotOptimize(o.window.grid().differing());
    }
}

}  // namespace

BENCHMARK(BM_CompareWindowShown)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PositionalCompare)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_AlignInTheWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) { return pictra::bench::runWindowBenchmarks(argc, argv); }
