// A mark list of 20,000 records with 8 fields: reading, writing back, sums,
// averages and sorting in the core, and the table sheet opened on it.
#include <benchmark/benchmark.h>

#include <QTableView>

#include "ScopedWindow.h"
#include "common/Text.h"
#include "shell/QtEditorView.h"
#include "tables/SheetComputing.h"
#include "tables/SheetDocument.h"
#include "tables/SheetModel.h"
#include "tables/TableSheetWindow.h"

using namespace pictra;

namespace {

class YesDialogs : public bench::NoDialogs {
public:
    Answer ask(const std::string&) override { return Answer::Yes; }
    std::optional<std::string> askText(const std::string&, const std::string&, const std::string&) override {
        return "2 1";
    }
};

const std::string& bigTable() {
    static const std::string text = [] {
        std::vector<std::string> lines{"*                   *     *     *     *     *     *     *",
                                       "Name Vorname        T1    T2    T3    T4    Su    No"};
        unsigned seed = 7;
        const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
        for (int r = 0; r < 20000; ++r) {
            std::string line = "Name" + std::to_string(next() % 100000) + " Vorname";
            line.resize(20, ' ');
            for (int t = 0; t < 4; ++t) {
                std::string points = std::to_string(next() % 10) + "," + std::to_string(next() % 10);
                points.resize(6, ' ');
                line += points;
            }
            lines.push_back(text::trimRight(line));
        }
        return text::joinLines(lines);
    }();
    return text;
}

tables::Sheet loadedSheet() {
    tables::Sheet sheet;
    sheet.rows = tables::readStarTable(bigTable());
    return sheet;
}

void BM_ReadStarTable(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(tables::readStarTable(bigTable()).size());
}

void BM_WriteBack(benchmark::State& state) {
    const tables::Sheet sheet = loadedSheet();
    const std::vector<std::string> document = text::splitLines(bigTable());
    for (auto _ : state) benchmark::DoNotOptimize(tables::writtenBack(sheet, 1, document));
}

void BM_SumsAndAverages(benchmark::State& state) {
    tables::Sheet sheet = loadedSheet();
    YesDialogs dialogs;
    SettingsStore store;
    tables::SheetContext c{sheet, dialogs, store, "T"};
    for (auto _ : state) {
        tables::computeSumsOrAverages(c, "2", "5", "6", true);
        tables::computeSumsOrAverages(c, "2", "5", "7", false);
    }
}

void BM_SortByColumn(benchmark::State& state) {
    YesDialogs dialogs;
    SettingsStore store;
    for (auto _ : state) {
        state.PauseTiming();
        tables::Sheet sheet = loadedSheet();
        tables::SheetContext c{sheet, dialogs, store, "T"};
        state.ResumeTiming();
        tables::sortRecords(c, true, false);
    }
}

void BM_SheetOpensOn20000Records(benchmark::State& state) {
    bench::ScopedWindow w;
    w.window->newDocument();
    ui::QtEditorView(*w.window->currentEditor()).setLines(text::splitLines(bigTable()));
    ui::TableSheetWindow* sheet = w.window->tableSheet();
    for (auto _ : state) {
        sheet->openOnDocument();
        QApplication::processEvents();
        benchmark::DoNotOptimize(sheet->model().rowCount());
        state.PauseTiming();
        sheet->abandon();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_ReadStarTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SumsAndAverages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SheetOpensOn20000Records)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) { return pictra::bench::runWindowBenchmarks(argc, argv); }
