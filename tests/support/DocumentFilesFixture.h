#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "MemoryDocuments.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "shell/DocumentFiles.h"

namespace pictra::test {

// Loading and saving over an in-memory document list, with a program folder of
// its own in a temporary folder.
struct DocumentFilesFixture : ::testing::Test {
    TempDir dir;
    ProgramPaths paths{dir.path() + "prog/", "pictra", ""};
    SettingsStore store;
    ScriptedDialogs dialogs;
    RecordingSound sound;
    Tones tones{store, sound};
    EntityTable entities;
    MemoryDocuments docs;
    DocumentFiles files{docs, dialogs, store, paths, entities, tones};

    void SetUp() override { std::filesystem::create_directories(paths.folder); }
    std::string file(const std::string& name) const { return dir.file(name); }
};

}  // namespace pictra::test
