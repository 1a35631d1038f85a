#pragma once

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "shell/AppContext.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"

#include <gtest/gtest.h>
#include <memory>

namespace pictra::test {

// Everything a window needs, with scripted dialogs, a recording sound and a
// program folder of its own.
struct UiFixture {
    TempDir dir;
    ProgramPaths paths{dir.path(), "pictra", ""};
    SettingsStore store;
    ScriptedDialogs dialogs;
    RecordingSound sound;
    Tones tones{store, sound};
    SettingsFile settingsFile{paths, dialogs};
    FolderList explorerFolders;
    ui::AppContext context{paths, store, settingsFile, explorerFolders, dialogs, tones, nullptr};
};

// A main window with one empty document; closing it at the end asks nothing.
struct MainWindowTestBase : ::testing::Test {
    UiFixture f;
    std::unique_ptr<ui::MainWindow> window;

    void SetUp() override {
        window = std::make_unique<ui::MainWindow>(f.context);
        window->newDocument();
    }
    void TearDown() override {
        window->confirmClose = [](int) { return true; };
        window.reset();
    }
    ui::PlainEditor* editor() { return window->currentEditor(); }
    void trigger(const char* name) {
        auto* action = window->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
};

// Triggers the named action of `window` once the event loop of a modal window runs.
inline void triggerLater(QWidget& window, const char* action, std::function<void()> before = {}) {
    QTimer::singleShot(0, &window, [&window, action, before = std::move(before)] {
        if (before) before();
        auto* a = window.findChild<QAction*>(action);
        if (a) {
            a->trigger();
        } else {
            ADD_FAILURE() << "no action " << action;
            window.close();
        }
    });
}

}  // namespace pictra::test
