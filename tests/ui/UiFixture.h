#pragma once

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "shell/AppContext.h"

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
