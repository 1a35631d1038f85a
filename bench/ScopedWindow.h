#pragma once

// A main window with real settings, silent tones and dialogs that must not be
// needed, for window benchmarks.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "QuietDialogs.h"
#include "shell/AppContext.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "common/UiText.h"

namespace pictra::bench {

class NoDialogs : public QuietDialogs {
public:
    void inform(const std::string& text) override { throw std::runtime_error("unexpected message: " + text); }
    Answer ask(const std::string& q) override { throw std::runtime_error("unexpected question: " + q); }
};

class SilentSound : public Sound {
public:
    void play(std::vector<std::int16_t>) override {}
};

struct ScopedWindow {
    ProgramPaths paths{"/tmp/pictra-bench/", "pictra", ""};
    SettingsStore store;
    NoDialogs dialogs;
    SilentSound sound;
    Tones tones{store, sound};
    SettingsFile settingsFile{paths, dialogs};
    FolderList folders;
    ui::AppContext context{paths, store, settingsFile, folders, dialogs, tones, nullptr};
    std::unique_ptr<ui::MainWindow> window = std::make_unique<ui::MainWindow>(context);

    ScopedWindow() { window->resize(1200, 800); }
    ~ScopedWindow() {
        window->confirmClose = [](int) { return true; };
        window.reset();
    }
};

// The main() of a window benchmark: offscreen, with a program folder of its own.
inline int runWindowBenchmarks(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("PICTRA_HOME", "/tmp/pictra-bench", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace pictra::bench
