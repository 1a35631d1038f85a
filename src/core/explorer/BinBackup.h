#pragma once

#include <optional>
#include <string>

#include "explorer/CopyChecked.h"
#include "explorer/RecycleBin.h"

// The copy a file leaves in the bin before it is replaced, and what the user is
// told when that copy, or anything else of a command, fails for want of space.
namespace pictra::binbackup {

// What a full volume stopped: the copy kept in the bin before a change, a file
// moved into the bin, or the file itself.
enum class Step { Backup, Bin, File };

// The one message of a command of many files that a full volume stopped: the
// volume, what failed, and how many files were done (out of `total` when known).
std::string fullDiskMessage(Step step, const std::string& path, const std::string& binFolder, int done,
                            std::optional<int> total = std::nullopt);

// A file that was to be replaced stays as it is because its copy could not be
// kept in the bin; `reason` says why (fullVolumeText for a full volume).
std::string notKeptMessage(const std::string& path, const std::string& binFolder, const std::string& reason);
// The same for a failed copyChecked into the bin, with the reason it gave.
std::string notKeptMessage(const std::string& path, const std::string& binFolder, const CopyOutcome& failed);

struct Kept {
    bool kept = false;
    int error = 0;         // the system's error number when the copy failed
    std::string message;   // notKeptMessage; empty when kept, or when the cancel window was clicked
};

// Keeps the file at `path` in the bin under its bin name of `today` before it is
// replaced; a missing file needs no copy. `linkAllowed`: the caller replaces the
// file through a new file (never in place), so on the bin's volume a second name
// for the same data is as good as a copy and costs neither time nor space.
Kept keepInBin(const std::string& path, const bin::Date& today, CopyContext& context, bool linkAllowed = false);

}  // namespace pictra::binbackup
