// The table conversions on 100,000 rows of 6 columns inside the editor, from
// the command to the converted text back in the editor: star table to HTML
// and back (Ctrl+A "t" and "h"), the layout of an HTML table and a CSV file
// made a page. Each run starts from the same text, put in outside the timing.
#include <benchmark/benchmark.h>

#include "ScopedWindow.h"
#include "html/TableConversionMenu.h"
#include "html/convert/TableCommands.h"
#include "shell/QtEditorView.h"

using namespace pictra;

namespace {

class NoTagBlanking : public bench::NoDialogs {
public:
    Answer ask(const std::string&) override { return Answer::No; }
};

// The cells of tables_html_peer.sh: a name, a first name, a place, a subject, points and a mark.
struct Tables {
    std::string star = "*         *         *         *         *         *\r\n"
                       "Name      Vorname   Ort       Fach      Punkte    Note\r\n";
    std::string html = "<table border=1>\r\n";
    std::string csv = "Name;Vorname;Ort;Fach;Punkte;Note\r\n";
    Tables() {
        unsigned seed = 3;
        const auto next = [&seed](unsigned range) { return (seed = seed * 1103515245u + 12345u) / 65536 % range; };
        for (int i = 0; i < 100000; ++i) {
            std::string name = std::to_string(i);
            const std::string cells[] = {"N" + std::string(7 - name.size(), '0') + name, "V" + std::to_string(next(100000)),
                                         "O" + std::to_string(next(10000)),           "F" + std::to_string(next(40)),
                                         std::to_string(next(100)),                   std::to_string(next(6) + 1)};
            html += "<tr>";
            for (int c = 0; c < 6; ++c) {
                std::string padded = cells[c];
                padded.resize(10, ' ');
                star += c < 5 ? padded : cells[c];
                html += "<td>" + cells[c] + "</td>";
                csv += cells[c] + (c < 5 ? ";" : "");
            }
            star += "\r\n";
            html += "</tr>\r\n";
            csv += "\r\n";
        }
        html += "</table>";
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

template <typename Command>
void inEditor(benchmark::State& state, const std::string& text, Command command) {
    bench::ScopedWindow w;
    w.window->newDocument();
    ui::QtEditorView view(*w.window->currentEditor());
    for (auto _ : state) {
        state.PauseTiming();
        view.setText(text);
        view.setSelection(0, static_cast<int>(view.plainText().size()));
        QApplication::processEvents();
        state.ResumeTiming();
        command(*w.window, view);
        QApplication::processEvents();
        benchmark::DoNotOptimize(view.caret());
    }
}

void BM_StarToHtmlInTheEditor(benchmark::State& state) {
    inEditor(state, tables().star, [](ui::MainWindow& w, ui::QtEditorView&) { ui::convertSelectedTable(w, true, false); });
}

// The menu path of Ctrl+A "h", answering "Alle HTML-Tags entfernen?" with No.
void BM_HtmlToStarInTheEditor(benchmark::State& state) {
    NoTagBlanking dialogs;
    inEditor(state, tables().html,
             [&dialogs](ui::MainWindow&, ui::QtEditorView& view) { html::convert::htmlTableToStar(view, dialogs, false); });
}

void BM_CsvToPageInTheEditor(benchmark::State& state) {
    inEditor(state, tables().csv, [](ui::MainWindow& w, ui::QtEditorView&) { ui::csvToHtmlPage(w); });
}

}  // namespace

BENCHMARK(BM_StarToHtmlInTheEditor)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_HtmlToStarInTheEditor)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CsvToPageInTheEditor)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) { return pictra::bench::runWindowBenchmarks(argc, argv); }
