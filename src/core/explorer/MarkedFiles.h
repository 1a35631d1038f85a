#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "explorer/CopyChecked.h"
#include "explorer/RecycleBin.h"

namespace pictra {
class SettingsStore;
}

// The program's own clipboard of file paths, pasting, and the own recycle bin.
namespace pictra::explorer {

// The umlaut mapping of file names: in the base name "ä" → "ae", "ö" → "oe",
// "ü" → "ue", "ß" → "ss", blank and "." → "_"; the extension stays.
std::string mapUmlauts(const std::string& fileName);
// The name a paste with changed names writes: lower-cased, then mapped.
std::string pasteName(const std::string& fileName);

struct MarkedFiles {
    std::vector<std::string> files;
    std::string folder;
};

// "Dateien vormerken" (keep = false: the list is emptied first) and "Zu den
// vorgemerkten Dateien" (keep = true): the selected paths, or after "Alle?" every path.
void markFiles(MarkedFiles& marked, const std::vector<std::string>& selected, const std::vector<std::string>& all,
               bool keep, Dialogs& dialogs);

enum class PasteNames { Mapped, Unchanged };

// The three paste commands: every marked file copied into `folder`, one
// overwrite question per command, a report of what was (not) overwritten. A file
// that is overwritten is kept in the bin first (under its bin name of `today`);
// when that fails it stays as it is. A full volume ends the command.
void pasteMarked(const MarkedFiles& marked, const std::string& folder, PasteNames names, CopyContext& context,
                 const bin::Date& today);

// "Vorgemerkte Dateien mit Ordner kopieren": the marked files with their folders
// below the drive root rebuilt under a chosen folder. `driveOf` gives the mount
// point holding a path.
void copyWithFolders(MarkedFiles& marked, const std::vector<std::string>& selected,
                     const std::vector<std::string>& all, SettingsStore& store, CopyContext& context,
                     const std::function<std::string(const std::string&)>& driveOf);

// "Vorgemerkten Ordner kopieren": the marked folder's files (top level) into a new
// folder of that name in `currentFolder`; the new folder, or empty.
std::string copyMarkedFolder(const MarkedFiles& marked, const std::string& currentFolder, CopyContext& context);

// `deleteNow`: false when the file is gone or the user stopped, true when it could not be deleted.
bool deleteNow(const std::string& path, Dialogs& dialogs);

// `moveToBin`: after the confirmation every file is copied into the bin under its
// bin name and removed only once that copy exists; a file inside the bin is
// deleted for good. False when the user cancelled.
bool moveToBin(const std::vector<std::string>& paths, CopyContext& context, const bin::Date& today);

// "Endgültig löschen": after the confirmation, deleted at once.
void deleteForGood(const std::vector<std::string>& paths, Dialogs& dialogs);

// Restores bin entries to their original folders (recreated when gone) under
// their names with the date and size addition; the folder of the last one.
std::string restoreFromBin(const std::vector<bin::BinEntry>& entries, CopyContext& context);

}  // namespace pictra::explorer
