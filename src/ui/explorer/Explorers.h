#pragma once

#include <memory>
#include <string>

#include "ExplorerWindow.h"
#include "explorer/FolderChronicle.h"
#include "search/SearchWindow.h"

namespace pictra {
class FolderList;
}

namespace pictra::ui {

// The two explorer windows of the run, the chronicle they share and the
// commands that arrange them together.
class Explorers {
public:
    Explorers(SettingsStore& store, Dialogs& dialogs, Tones& tones, FolderList& folderList, CopySession& copies,
              std::string binFolder, ExplorerHooks hooks);
    ~Explorers();

    ExplorerWindow& first() { return *m_first; }
    ExplorerWindow& second() { return *m_second; }
    explorer::FolderChronicle& chronicle() { return m_chronicle; }
    explorer::MarkedFiles& marked() { return m_shared.marked; }
    CopyContext copyContext() { return m_shared.copyContext(); }
    filesearch::SearchSession& searchSession() { return m_shared.search; }

    // The main timer's start request: the explorer goes to the file's folder,
    // selects the file's line and opens it by the double-click path.
    void openStartRequest(const std::string& path);
    // F11 in an explorer: explorer 2 shown beside explorer 1, or hidden again.
    void toggleSecond();
    // "Zwei Dateienexplorer": both, side by side at the right screen edge.
    void showBoth();
    // "Dateienexplorer groß" and "Dateiexplorer klein".
    void placeBoth(ExplorerLayout layout);
    void showOnly(ExplorerWindow& window);
    void keepOnTop(bool on);
    // Layout and the chronicle back into the settings and the folder list.
    void storeAtExit();
    // The search window, created on first use. `folder` empty: opened from the main
    // window (the stored folder while its list is empty); else the explorer's folder.
    SearchWindow& searchWindow();
    void showSearch(const std::string& folder = {});
    // Where a finished search puts its first text (the main window's search bar).
    void setSearchTextHook(std::function<void(const std::string&)> hook) { m_setSearchText = std::move(hook); }

private:
    ExplorerHooks hooksFor(ExplorerHooks base, char number);
    void placeSideBySide();

    explorer::FolderChronicle m_chronicle;
    ExplorerShared m_shared;
    FolderList& m_folderList;
    std::unique_ptr<ExplorerWindow> m_first;
    std::unique_ptr<ExplorerWindow> m_second;
    ExplorerHooks m_hooks;
    std::function<void(const std::string&)> m_setSearchText;
    std::unique_ptr<SearchWindow> m_search;
    QPoint m_explorerPlace;  // where the first explorer stood before a search moved it up
};

}  // namespace pictra::ui
