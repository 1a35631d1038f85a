#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "explorer/CopyChecked.h"
#include "explorer/RecycleBin.h"

// The commands on the folder tree: new folder, empty folders, a folder with its
// content, the list of all subfolders and the largest files below a folder. Each
// works on the explorer's current folder and tells the window where to go next.
namespace pictra::folders {

struct FolderContext {
    CopyContext& copies;  // its dialogs, bin folder and copy rules (deleting goes through the bin)
    // A mounted volume's root: never deleted, nor counted among its own empty folders.
    std::function<bool(const std::string&)> isMountPoint;
    std::string homeFolder;  // never deleted with its content
    bin::Date today;
    unsigned threads = 2;  // workers of the largest-files walk
};

// "/a/b/" and "/a/b" are the same folder: the form without the separator ("/" stays).
std::string plainFolder(const std::string& folder);
// The folder above (the root is its own parent).
std::string parentFolder(const std::string& folder);

// "Neuen Ordner erzeugen" / "Neuen Unterordner erzeugen": the folder made, or nullopt.
std::optional<std::string> createFolder(const std::string& current, Dialogs& dialogs);

// Every folder below `root`, depth-first in byte order, each with a trailing "/".
// Symlinked folders are never followed; folders that cannot be listed are named in
// `unreadable` and the walk goes on. The cancel window, opened by the caller, is
// stepped while it runs; a click on it ends the walk (`cancelled`).
struct FolderList {
    std::vector<std::string> folders;
    std::vector<std::string> unreadable;
    std::vector<std::string> folderLinks;  // links to folders met on the way (not followed)
    bool cancelled = false;
};
FolderList collectFolders(const std::string& root, Dialogs& dialogs, bool oneFileSystem = false);

// "Leeren Ordner löschen" / "Leere Ordner suchen": inner folders first, each empty
// one offered; removed with rmdir only, so a folder that filled up meanwhile stays.
void removeEmptyFolders(const std::string& current, FolderContext& context);

// "Ordner mit Inhalt löschen": false when refused or given up. The root, mount
// points, the home folder and folders holding the program's bin are refused.
// The files go into the bin (its confirmation decides); links to folders are
// removed as links, never followed; then each emptied folder is offered.
bool deleteFolderWithContent(const std::string& folder, FolderContext& context);

// "Alle Unterordner auflisten": the text window with every folder below `current`.
void listAllSubfolders(const std::string& current, Dialogs& dialogs);

// "Die größten Dateien suchen": the special lines of the 100 largest files over
// 9999999 bytes below `current`, smallest first; what was found until a click
// on the cancel window when `cancelled`.
struct LargestResult {
    std::vector<std::string> lines;
    bool cancelled = false;
};
LargestResult largestFiles(const std::string& current, FolderContext& context);

}  // namespace pictra::folders
