#pragma once

#include <functional>
#include <string>
#include <vector>

#include "explorer/FileLines.h"

namespace pictra::platform {

struct FolderListing {
    bool ok = false;         // false: the folder could not be read (the old view stays)
    bool cancelled = false;  // the user stopped a long listing
    int subfolders = 0;      // not counting names that begin with "."
    std::vector<explorer::FileEntry> files;
};

// Every entry of the folder (names as bytes); `progress` is asked every few
// thousand entries with the count so far and stops the listing when it returns false.
FolderListing listFolder(const std::string& folder, const std::function<bool(size_t)>& progress = {});

// The subfolders of a folder, sorted ignoring case; hidden ones ("." names) too when asked.
std::vector<std::string> subfoldersOf(const std::string& folder, bool withHidden = false);

}  // namespace pictra::platform
