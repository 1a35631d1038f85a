#pragma once

#include <string>
#include <vector>

#include "explorer/CopyChecked.h"
#include "explorer/RecycleBin.h"

namespace pictra {
class SettingsStore;
}

// The rename/move dialog for one file (`Form10a`): what it offers and what its "Ok" does.
namespace pictra::fileops {

// The folder list: the file's own folder, then the last six of the stored list.
std::vector<std::string> renameFolders(const std::string& ownFolder, const SettingsStore& store);
// The target folder the dialog starts with: the last stored folder, else the own one.
std::string startFolder(const std::string& ownFolder, const SettingsStore& store);
// Stores the dialog's folder list (without the own folder at its head) with
// `target` moved to its end.
void rememberFolder(std::vector<std::string> folders, const std::string& ownFolder, const std::string& target,
                    SettingsStore& store);
// The names of the folder's files that begin with `prefix` (case ignored), sorted.
std::vector<std::string> filesBeginningWith(const std::string& folder, const std::string& prefix);

struct RenameMoveRequest {
    std::string oldPath;
    std::string targetFolder;
    std::string newName;  // without a "." the old extension is kept
    bool keepOriginal = false;  // "Originaldatei beibehalten und kopieren"
};

// Renames, moves or copies. A name taken in the target folder is asked about every
// time (the replaced file goes to the bin first), never settled by the run's one
// overwrite answer. The new path, or empty when nothing happened.
std::string renameOrMove(const RenameMoveRequest& request, CopyContext& context, const bin::Date& today);

}  // namespace pictra::fileops
