#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/Dialogs.h"

namespace pictra {

class Tones;

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
    Tones* tones = nullptr;  // the chords before skipping or overwriting a file
    bool lowSpaceWarned = false;  // a command of many copies warns of a nearly full volume once
};

struct CopyOutcome {
    bool written = false;
    std::string message;  // empty on success and when the file was skipped without complaint
    int error = 0;        // the system's error number of a failed copy
};

// `copyChecked`: copies a file with the program's rules: a doubled separator is
// reduced, a file is never copied onto itself, the target folder is created, an
// existing target outside the bin and off the second drive is only overwritten
// after the one question of the run, a cancel window that was clicked copies
// nothing, the copy (through a temporary file, never left cut off) keeps the
// original's last-write time and loses a write protection, and a nearly full
// target is reported (once per context; not after a copy that failed for want of
// space, which its caller names).
CopyOutcome copyChecked(const std::string& source, std::string target, CopyContext& context);

// "Datenträger "…" ist voll.": the reason given when the volume holding `path` has no room left.
std::string fullVolumeText(const std::string& path);

// copyChecked for the backups of a save: its message is shown; true when the target was written.
bool copyWithRules(const std::string& source, std::string target, CopyContext& context);

}  // namespace pictra
