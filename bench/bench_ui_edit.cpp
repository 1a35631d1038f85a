// Search, replace, sorting and wrapping in a 10 MB text inside the editor.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "ScopedWindow.h"
#include "shell/PlainEditor.h"
#include "shell/editing/LineTools.h"
#include "shell/editing/LineWrap.h"
#include "shell/QtEditorView.h"
#include "shell/editing/Search.h"
#include "common/Codec.h"
#include "common/Text.h"

using namespace pictra;

namespace {

// About 10 MB of prose in lines of 60 to 100 characters, "Nadel" once near the end.
const std::string& bigText() {
    static const std::string text = [] {
        const char* words[] = {"der", "Schüler", "schreibt", "eine", "lange", "Arbeit", "über", "die", "Stadt", "und"};
        std::string t;
        unsigned seed = 3;
        std::string line;
        while (t.size() < 10'000'000) {
            seed = seed * 1103515245u + 12345u;
            line += codec::utf8ToCp1252(words[(seed >> 16) % 10]);
            line += ' ';
            if (line.size() > 60 + (seed >> 8) % 40) {
                t += line + "\r\n";
                line.clear();
            }
        }
        return t + "Hier steckt die Nadel im Heu.\r\n" + std::string(200, 'x') + "\r\n";
    }();
    return text;
}

class Bar : public search::SearchBar {
public:
    std::string t = "Nadel";
    std::string term() const override { return t; }
    std::string replacement() const override { return "Heft"; }
    bool matchCase() const override { return false; }
    void setMatchCase(bool) override {}
    bool bigHits() const override { return false; }
    void showBar(bool) override {}
    void termSearched() override {}
    void showNotice(const std::string&) override {}
    void showStatusBar() override {}
    void beep() override {}
};

class YesDialogs : public bench::NoDialogs {
public:
    Answer ask(const std::string&) override { return Answer::Yes; }
};

struct Loaded {
    bench::ScopedWindow w;
    ui::QtEditorView view{(w.window->newDocument(), *w.window->currentEditor())};
    Loaded() { view.setText(bigText()); }
};

void BM_F3ThroughTenMegabytes(benchmark::State& state) {
    Loaded l;
    Bar bar;
    search::SearchSession session;
    for (auto _ : state) {
        l.view.setCaret(0);
        session.next(l.view, bar);
    }
    state.counters["hit"] = l.view.caret();
}

// The first "> F3" after an edit: the text is read from the editor once.
void BM_F3AfterAnEdit(benchmark::State& state) {
    Loaded l;
    Bar bar;
    search::SearchSession session;
    for (auto _ : state) {
        state.PauseTiming();
        l.view.setCaret(0);
        l.view.replaceSelection("x");
        l.view.setCaret(0);
        state.ResumeTiming();
        session.next(l.view, bar);
    }
}

// Replacing in the text alone, without putting it back into the editor.
void BM_ReplaceEveryInTheText(benchmark::State& state) {
    Loaded l;
    const std::string text = l.view.plainText();
    for (auto _ : state) benchmark::DoNotOptimize(search::replaceEvery(text, "die", "Heft", false).size());
}

// In a shown window, until the editor has painted the replaced text.
void BM_ReplaceEveryCommonWord(benchmark::State& state) {
    Loaded l;
    l.w.window->resize(1000, 700);
    l.w.window->show();
    Bar bar;
    bar.t = "die";
    YesDialogs dialogs;
    ui::PlainEditor& editor = *l.w.window->currentEditor();
    for (auto _ : state) {
        state.PauseTiming();
        l.view.setText(bigText());
        editor.viewport()->repaint();
        QApplication::processEvents();
        search::SearchSession session;
        state.ResumeTiming();
        session.replace(l.view, bar, dialogs);
        editor.viewport()->repaint();
        QApplication::processEvents();
    }
}

void BM_WrapTenMegabytes(benchmark::State& state) {
    Loaded l;
    for (auto _ : state) {
        state.PauseTiming();
        l.view.setText(bigText());
        state.ResumeTiming();
        l.view.setLines(linewrap::wrapEach(l.view.lines(), 40));
    }
}

void BM_SortTenMegabytesInTheEditor(benchmark::State& state) {
    Loaded l;
    for (auto _ : state) {
        state.PauseTiming();
        l.view.setText(bigText());
        state.ResumeTiming();
        l.view.setText(linetools::sortedText(l.view.plainText(), false, "\n"));
    }
}

}  // namespace

BENCHMARK(BM_F3ThroughTenMegabytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_F3AfterAnEdit)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReplaceEveryInTheText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceEveryCommonWord)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WrapTenMegabytes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SortTenMegabytesInTheEditor)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) { return pictra::bench::runWindowBenchmarks(argc, argv); }
