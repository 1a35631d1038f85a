#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/Dialogs.h"

namespace pictra {

// What the copy rules remember for the run.
struct CopySession {
    std::optional<bool> overwriteAll;  // the answer to the one overwrite question of the run
    std::vector<std::string> copiedToSecondDrive;
};

struct CopyContext {
    Dialogs& dialogs;
    CopySession& session;
    std::string secondDriveFolder;  // setting OrdnerfuerSicherungZweiterTraeger
    std::string binFolder;
    // True when both paths lie on the same mounted volume.
    std::function<bool(const std::string&, const std::string&)> sameVolume;
};

// Copies a file for the backups of a save, with the program's rules: a doubled
// separator is reduced, a file is never copied onto itself, the target folder is
// created, an existing target outside the bin and off the second drive is only
// overwritten after the one question of the run, the copy keeps the original's
// last-write time and loses a write protection, and a nearly full target is
// reported. True when the target was written.
bool copyWithRules(const std::string& source, std::string target, CopyContext& context);

}  // namespace pictra
