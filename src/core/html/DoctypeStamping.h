#pragma once

#include <string>

#include "common/Dialogs.h"
#include "explorer/RecycleBin.h"

// "Alle Dateien mit <!DOCTYPE ...> versehen": the HTML 4.01 Transitional
// declaration stamped into every HTML file of a folder tree.
namespace pictra::html {

struct StampResult {
    int changed = 0;
    int failed = 0;
    bool cancelled = false;
    bool diskFull = false;  // a full volume ended the command (and said so once)
};

// Every ".htm*" or ".php" file below `folder` that needs it is stamped: its day
// backup goes into `binFolder` first, then the file is replaced atomically. A page
// whose backup fails stays as it is; a full volume ends the command.
// Symbolic links to folders are not followed (no loops); unreadable files are
// skipped; the cancel window can stop the walk.
StampResult stampFolderTree(const std::string& folder, const std::string& binFolder, const bin::Date& today,
                            Dialogs& dialogs);

inline constexpr const char* kMsgFolderUnreadable = "Auf das Verzeichnis kann zur Zeit nicht zugegriffen werden!";

}  // namespace pictra::html
