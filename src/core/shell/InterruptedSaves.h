#pragma once

#include "common/Dialogs.h"
#include "settings/ProgramPaths.h"

namespace pictra {

// At start: a save that rewrote a file in place and was cut off by a crash left
// its record in the program folder. The user is told which file it was and gets
// the old state back from the bin with one answer. Runs before the bin is purged,
// so the backup it names is still there.
void offerInterruptedSaves(const ProgramPaths& paths, Dialogs& dialogs);

}  // namespace pictra
