// Long work on big texts: a star table whose marker line is 1 MB long, read and
// opened in the table sheet, and a 20 MB page indented by its nesting, alone and
// from the menu with the cancel window. The window figures count how often the
// cancel window was polled and the longest stretch without a poll, in which the
// windows could not repaint.
#include <benchmark/benchmark.h>

#include <QAction>
#include <algorithm>
#include <chrono>

#include "ScopedWindow.h"
#include "common/Text.h"
#include "html/Indentation.h"
#include "shell/DocumentArea.h"
#include "shell/QtEditorView.h"
#include "tables/SheetModel.h"
#include "tables/StarTable.h"
#include "tables/TableSheetWindow.h"

using namespace pictra;

namespace {

// Fields five columns wide under a marker line of 1 MB, a header and two records.
const std::string& megabyteMarkerTable() {
    static const std::string text = [] {
        std::string marker, header, record;
        for (int f = 0; marker.size() < 1'000'000; ++f) {
            marker += "*    ";
            std::string title = "F" + std::to_string(f);
            title.resize(5, ' ');
            header += title;
            std::string value = std::to_string(f % 100);
            value.resize(5, ' ');
            record += value;
        }
        return marker + "\r\n" + header + "\r\n" + record + "\r\n" + record + "\r\n";
    }();
    return text;
}

// Hand-written sections with a comment and a preformatted block in every tenth.
const std::string& twentyMegabytePage() {
    static const std::string page = [] {
        std::string p = "<html>\r\n<head><title>Seite</title></head>\r\n<body>\r\n";
        for (int i = 0; p.size() < 20'000'000; ++i) {
            p += "<h2>Abschnitt " + std::to_string(i) + "</h2>\r\n<p>Ein Absatz mit <b>fettem</b> und <a href=\"s" +
                 std::to_string(i) + ".html\">verlinktem</a> Text.<br>\r\nNoch eine Zeile.</p>\r\n"
                 "<table border=1><tr><td>a</td><td>b</td></tr>\r\n<tr><td>c</td><td>d</td></tr></table>\r\n"
                 "<ul>\r\n<li>eins</li>\r\n<li>zwei <i>kursiv</i></li>\r\n</ul>\r\n";
            if (i % 10 == 0) p += "<!-- Abschnitt -->\r\n<pre>\r\n  vor   formatiert\r\n</pre>\r\n";
        }
        return p + "</body>\r\n</html>\r\n";
    }();
    return page;
}

// Answers Yes and times the polls of the cancel window.
class PollTimingDialogs : public bench::NoDialogs {
public:
    Answer ask(const std::string&) override { return Answer::Yes; }
    void beginCancelWindow(const std::string&) override {
        polls = 0;
        longest = {};
        last = std::chrono::steady_clock::now();
    }
    bool stepCancelWindow(const std::string&) override {
        const auto now = std::chrono::steady_clock::now();
        longest = std::max(longest, now - last);
        last = now;
        ++polls;
        return false;
    }
    void endCancelWindow() override { stepCancelWindow(""); }

    int polls = 0;
    std::chrono::steady_clock::duration longest{};
    std::chrono::steady_clock::time_point last;
};

void BM_ReadStarTableMegabyteMarkerLine(benchmark::State& state) {
    for (auto _ : state) {
        const tables::Grid grid = tables::readStarTable(megabyteMarkerTable());
        state.counters["fields"] = static_cast<double>(grid.front().size());
    }
}

void BM_SheetOpensOnMegabyteMarkerLine(benchmark::State& state) {
    bench::ScopedWindow w;
    w.window->newDocument();
    ui::QtEditorView(*w.window->currentEditor()).setText(megabyteMarkerTable());
    ui::TableSheetWindow* sheet = w.window->tableSheet();
    for (auto _ : state) {
        sheet->openOnDocument();
        QApplication::processEvents();
        benchmark::DoNotOptimize(sheet->model().columnCount());
        state.PauseTiming();
        sheet->abandon();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_IndentTwentyMegabytesText(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(html::indentByNesting(twentyMegabytePage(), [](const std::string&) {}).size());
    }
}

// The menu command on the whole page in the editor, cancel window included.
void BM_IndentTwentyMegabytesFromTheMenu(benchmark::State& state) {
    bench::ScopedWindow w;
    PollTimingDialogs dialogs;
    ui::AppContext context{w.paths, w.store, w.settingsFile, w.folders, dialogs, w.tones, nullptr};
    ui::MainWindow window(context);
    window.newDocument();
    auto* indent = window.findChild<QAction*>("HTMLEinruecken1");
    for (auto _ : state) {
        state.PauseTiming();
        ui::QtEditorView(*window.currentEditor()).setText(twentyMegabytePage());
        window.documents().setTabText(0, "?");
        state.ResumeTiming();
        indent->trigger();
        state.counters["polls"] = dialogs.polls;
        state.counters["longest_gap_ms"] =
            std::chrono::duration<double, std::milli>(dialogs.longest).count();
    }
    window.confirmClose = [](int) { return true; };
}

}  // namespace

BENCHMARK(BM_ReadStarTableMegabyteMarkerLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SheetOpensOnMegabyteMarkerLine)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_IndentTwentyMegabytesText)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_IndentTwentyMegabytesFromTheMenu)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv) { return pictra::bench::runWindowBenchmarks(argc, argv); }
