// A 1 MB hand-written page indented, counted and coloured in the editor, and the
// document type stamped into a tree of 2,000 pages.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "ScopedWindow.h"
#include "html/DoctypeStamping.h"
#include "html/Indentation.h"
#include "html/TagCheck.h"
#include "html/TagColours.h"
#include "common/Text.h"
#include "shell/QtEditorView.h"

using namespace pictra;

namespace {

const std::string& bigPage() {
    static const std::string page = [] {
        std::string p = "<html>\r\n<head><title>Seite</title></head>\r\n<body>\r\n";
        for (int i = 0; p.size() < 1'000'000; ++i) {
            p += "<h2>Abschnitt " + std::to_string(i) + "</h2>\r\n<p>Ein Absatz mit <b>fettem</b> und <a href=\"s" +
                 std::to_string(i) + ".html\">verlinktem</a> Text.<br>\r\nNoch eine Zeile.</p>\r\n"
                 "<table border=1><tr><td>a</td><td>b</td></tr>\r\n<tr><td>c</td><td>d</td></tr></table>\r\n"
                 "<ul>\r\n<li>eins</li>\r\n<li>zwei <i>kursiv</i></li>\r\n</ul>\r\n";
        }
        return p + "</body>\r\n</html>\r\n";
    }();
    return page;
}

class QuietDialogs : public bench::NoDialogs {
public:
    void inform(const std::string&) override {}
    Answer ask(const std::string&) override { return Answer::Yes; }
};

struct Loaded {
    bench::ScopedWindow w;
    ui::QtEditorView view{(w.window->newDocument(), *w.window->currentEditor())};
    Loaded() { view.setText(bigPage()); }
};

void BM_IndentOneMegabyte(benchmark::State& state) {
    Loaded l;
    for (auto _ : state) {
        state.PauseTiming();
        l.view.setText(bigPage());
        l.view.setSelection(0, static_cast<int>(l.view.plainText().size()));
        state.ResumeTiming();
        l.view.replaceSelection(text::joinLines(html::indentByNesting(l.view.selectedText(), [](const std::string&) {})));
    }
}

// The indentation alone, without the editor.
void BM_IndentOneMegabyteText(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(html::indentByNesting(bigPage(), [](const std::string&) {}).size());
}

void BM_CountTagsOneMegabyte(benchmark::State& state) {
    Loaded l;
    for (auto _ : state) benchmark::DoNotOptimize(html::countTags(l.view.plainText(), [] { return true; }).report.size());
}

void BM_TagsColouredOneMegabyte(benchmark::State& state) {
    Loaded l;
    QuietDialogs dialogs;
    for (auto _ : state) html::colourOccurrences(l.view, dialogs, html::colourRules(html::ColourSet::Tags));
}

void BM_StampTwoThousandPages(benchmark::State& state) {
    namespace fs = std::filesystem;
    const std::string base = (fs::temp_directory_path() / "pictra-bench-stamp").string();
    fs::remove_all(base);
    QuietDialogs dialogs;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A new tree each round: files made right after others were deleted cost
        // the file system far more than files of a tree that has been there.
        const std::string root = base + "/" + std::to_string(round++);
        for (int d = 0; d < 20; ++d) {
            fs::create_directories(root + "/site/" + std::to_string(d));
            for (int f = 0; f < 100; ++f) {
                std::ofstream(root + "/site/" + std::to_string(d) + "/s" + std::to_string(f) + ".html")
                    << "<html><head><title>t</title></head><body><p>Seite " << f << "</p></body></html>\r\n";
            }
        }
        state.ResumeTiming();
        const auto result = html::stampFolderTree(root + "/site", root + "/bin", {2026, 12, 10}, dialogs);
        state.counters["changed"] = result.changed;
    }
    fs::remove_all(base);
}

}  // namespace

BENCHMARK(BM_IndentOneMegabyte)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_IndentOneMegabyteText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountTagsOneMegabyte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TagsColouredOneMegabyte)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StampTwoThousandPages)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) { return pictra::bench::runWindowBenchmarks(argc, argv); }
