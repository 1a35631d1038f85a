// The main window's document list: creating and switching many documents, their
// memory, and putting a large text into an editor. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextBlock>
#include <cstdlib>
#include <fstream>
#include <string>

#include <QKeyEvent>
#include <QTabBar>

#include "ScopedWindow.h"
#include "shell/DocumentArea.h"

namespace {

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

// About 1 MB of German Windows-1252 text in ~14,000 lines.
std::string germanText(size_t bytes) {
    const std::string line = "Die Schüler üben für die Prüfung: Größe, Maße und Gewichte \x84richtig\x93 rechnen.";
    std::string text;
    while (text.size() < bytes) text += line + "\r\n";
    return text;
}

void BM_CreateDocuments(benchmark::State& state) {
    for (auto _ : state) {
        pictra::bench::ScopedWindow w;
        for (int i = 0; i < state.range(0); ++i) w.window->newDocument();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_CreateDocuments)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_SwitchTab(benchmark::State& state) {
    pictra::bench::ScopedWindow w;
    const QString text = pictra::ui::fromCp1252(germanText(50 * 1024));
    for (int i = 0; i < 200; ++i) {
        w.window->newDocument();
        w.window->currentEditor()->setPlainText(text);
    }
    w.window->show();
    QApplication::processEvents();
    int next = 0;
    const bool paint = state.range(0) != 0;
    for (auto _ : state) {
        w.window->switchTo(next);
        if (paint) QApplication::processEvents();  // paint the newly shown editor
        next = (next + 97) % 200;
    }
    QApplication::processEvents();
}
BENCHMARK(BM_SwitchTab)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// What painting one full editor costs by itself, for comparison with a switch.
void BM_RepaintEditor(benchmark::State& state) {
    pictra::bench::ScopedWindow w;
    w.window->newDocument();
    w.window->currentEditor()->setPlainText(pictra::ui::fromCp1252(germanText(50 * 1024)));
    w.window->show();
    QApplication::processEvents();
    for (auto _ : state) {
        w.window->currentEditor()->viewport()->repaint();
    }
}
BENCHMARK(BM_RepaintEditor)->Unit(benchmark::kMillisecond);

void BM_RepaintTabBar(benchmark::State& state) {
    pictra::bench::ScopedWindow w;
    for (int i = 0; i < 200; ++i) w.window->newDocument();
    w.window->show();
    QApplication::processEvents();
    for (auto _ : state) w.window->documents().tabBar()->repaint();
}
BENCHMARK(BM_RepaintTabBar)->Unit(benchmark::kMillisecond);

void BM_MemoryOf200Documents(benchmark::State& state) {
    const std::string raw = germanText(50 * 1024);
    for (auto _ : state) {
        pictra::bench::ScopedWindow w;
        w.window->show();
        const long start = residentKiB();
        for (int i = 0; i < 200; ++i) w.window->newDocument();
        QApplication::processEvents();
        const long empty = residentKiB();
        for (int i = 0; i < 200; ++i) {
            w.window->switchTo(i);
            // A text of its own for every document, as loading gives it.
            w.window->currentEditor()->setPlainText(pictra::ui::fromCp1252(raw));
            QApplication::processEvents();
        }
        const long filled = residentKiB();
        state.counters["widget_KiB_per_document"] = static_cast<double>(empty - start) / 200.0;
        state.counters["text_KiB_per_document"] = static_cast<double>(filled - empty) / 200.0;
        state.counters["text_file_KiB"] = static_cast<double>(raw.size()) / 1024.0;
        state.counters["ratio_to_text"] = static_cast<double>(filled - empty) * 1024.0 / 200.0 / raw.size();
    }
}
BENCHMARK(BM_MemoryOf200Documents)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ShowOneMegabyteText(benchmark::State& state) {
    pictra::bench::ScopedWindow w;
    w.window->newDocument();
    const std::string raw = germanText(1024 * 1024);
    for (auto _ : state) {
        const QString text = pictra::ui::fromCp1252(raw);
        w.window->currentEditor()->setPlainText(text);
        QApplication::processEvents();
        benchmark::DoNotOptimize(w.window->currentEditor()->blockCount());
    }
    state.counters["lines"] = w.window->currentEditor()->blockCount();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(raw.size()));
}
BENCHMARK(BM_ShowOneMegabyteText)->Unit(benchmark::kMillisecond);

// A letter typed at the end of a 1 MB text, as the keyboard delivers it, until the
// window has handled it and painted the line again.
void BM_KeystrokeAtTheEndOfOneMegabyte(benchmark::State& state) {
    pictra::bench::ScopedWindow w;
    w.window->resize(1000, 700);
    w.window->show();
    w.window->newDocument();
    pictra::ui::PlainEditor* editor = w.window->currentEditor();
    editor->setPlainText(pictra::ui::fromCp1252(germanText(1024 * 1024)));
    editor->moveCursor(QTextCursor::End);
    editor->setFocus();
    QApplication::processEvents();
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
        QApplication::sendEvent(editor, &press);
        QApplication::sendEvent(editor, &release);
        editor->viewport()->repaint();
        QApplication::processEvents();
    }
    state.counters["lines"] = editor->blockCount();
}
BENCHMARK(BM_KeystrokeAtTheEndOfOneMegabyte)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

int main(int argc, char** argv) { return pictra::bench::runWindowBenchmarks(argc, argv); }
