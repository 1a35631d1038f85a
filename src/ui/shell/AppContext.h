#pragma once

#include "common/Dialogs.h"
#include "settings/ProgramPaths.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace pictra::ui {

class QtDialogs;

// What every window of the program shares for the run.
struct AppContext {
    ProgramPaths& paths;
    SettingsStore& store;
    SettingsFile& settingsFile;
    FolderList& explorerFolders;
    Dialogs& dialogs;
    Tones& tones;
    // The Qt dialogs when the program runs for real (the text window lives there);
    // null when a test drives the windows with scripted dialogs.
    QtDialogs* qtDialogs = nullptr;
};

}  // namespace pictra::ui
