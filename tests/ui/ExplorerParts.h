#pragma once

#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"

namespace pictra::test {

// What an explorer window shares with its sibling, built on a fixture's settings,
// dialogs, tones and bin.
struct ExplorerParts {
    explicit ExplorerParts(UiFixture& f)
        : shared{f.store, f.dialogs, f.tones, chronicle, {}, {}, copies, f.paths.binFolder()} {}
    ExplorerParts(const ExplorerParts&) = delete;
    ExplorerParts& operator=(const ExplorerParts&) = delete;

    explorer::FolderChronicle chronicle;
    CopySession copies;
    ui::ExplorerShared shared;
};

}  // namespace pictra::test
