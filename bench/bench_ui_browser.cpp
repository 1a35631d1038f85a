// F9 to the loaded page for pages of 10 KB, 1 MB and 20 MB, against a bare web
// view loading the same file in the same warmed process (the floor).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWebEngineView>
#include <filesystem>
#include <fstream>

#include "ScopedWindow.h"
#include "html/Browsers.h"
#include "shell/DocumentArea.h"

using namespace pictra;

namespace {

// Paragraphs of about 1.5 KB of text: a 20 MB page of short paragraphs (two million
// elements) exhausts the 4 GB heap of this web engine's renderer, the bare view's too.
std::string pageOf(std::size_t bytes) {
    std::string sentence;
    while (sentence.size() < 1500) sentence += "Ein Satz mit etwas Text, wie er auf einer Schulseite steht. ";
    std::string p = "<html>\r\n<head><title>Seite</title></head>\r\n<body>\r\n";
    for (int i = 0; p.size() < bytes; ++i) {
        p += "<p>Absatz " + std::to_string(i) + " mit <b>fettem</b> und <a href=\"s.html\">verlinktem</a> Text. " +
             sentence + "</p>\r\n";
    }
    return p + "</body>\r\n</html>\r\n";
}

std::string writtenPage(std::size_t bytes) {
    const std::string folder = "/tmp/pictra-bench/browser/";
    std::filesystem::create_directories(folder);
    const std::string path = folder + "seite" + std::to_string(bytes) + ".html";
    std::ofstream(path, std::ios::binary) << pageOf(bytes);
    return path;
}

bool waitLoaded(QWebEngineView* view) {
    QEventLoop loop;
    bool ok = false;
    const auto c = QObject::connect(view, &QWebEngineView::loadFinished, &loop, [&](bool success) {
        ok = success;
        loop.quit();
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(c);
    return ok;
}

void BM_F9ToLoaded(benchmark::State& state) {
    const std::string path = writtenPage(static_cast<std::size_t>(state.range(0)));
    bench::ScopedWindow w;
    w.window->newDocument();
    w.window->files().loadFile(path);
    w.window->fullPreview();
    ui::BrowserWindow* browser = w.window->browsers().currentWindow();
    waitLoaded(browser->view());
    for (auto _ : state) {
        state.PauseTiming();
        // An edit, so that every F9 saves and shows the page anew, and the work it
        // leaves to the event loop (the editor's layout), done before a user's next key.
        w.window->currentEditor()->insertPlainText(" ");
        QCoreApplication::processEvents();
        state.ResumeTiming();
        w.window->fullPreview();
        if (!waitLoaded(browser->view())) {
            state.SkipWithError("page not loaded");
            break;
        }
    }
}

void BM_BareViewLoad(benchmark::State& state) {
    const std::string path = writtenPage(static_cast<std::size_t>(state.range(0)));
    QWebEngineView view;
    view.resize(900, 700);
    view.show();
    view.load(QUrl::fromLocalFile(QString::fromStdString(path)));
    waitLoaded(&view);
    for (auto _ : state) {
        view.reload();
        if (!waitLoaded(&view)) {
            state.SkipWithError("page not loaded");
            break;
        }
    }
}

}  // namespace

// A 20 MB page takes seconds to lay out: three rounds keep browser_peer.sh within its minutes.
BENCHMARK(BM_F9ToLoaded)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_F9ToLoaded)->Arg(20'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BareViewLoad)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BareViewLoad)->Arg(20'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox", 0);
    return pictra::bench::runWindowBenchmarks(argc, argv);
}
