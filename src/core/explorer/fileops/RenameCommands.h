#pragma once

#include <string>
#include <vector>

#include "common/Dialogs.h"

// The renaming commands of the explorer's "Dateien" and "Extras" menus. Each works
// on full paths and talks to the user through the dialogs; the window refills its
// list afterwards.
namespace pictra::fileops {

struct RenameContext {
    Dialogs& dialogs;
    std::string journalFolder;  // the program folder: the record of a running plan
};

// "Dateinamen mit ä ö ü ß Leerzeichen umbennen in ae oe ue ss _" (all lines).
void renameUmlauts(const std::vector<std::string>& paths, RenameContext& context);
// "Numerierung von z.B. "abc11" auf "abc011" ändern" (all lines).
void padNumbers(const std::vector<std::string>& paths, RenameContext& context);
// "Alle Dateien groß schreiben" / "… klein schreiben" (all lines); the paths afterwards.
std::vector<std::string> changeCase(const std::vector<std::string>& paths, bool upper, RenameContext& context);
// ""~" entfernen" (all lines).
void removeTildes(const std::vector<std::string>& paths, RenameContext& context);
// "Dateien fortlaufend durchnummerieren" (all lines, in list order).
void numberConsecutively(const std::vector<std::string>& paths, RenameContext& context);
// "Ausgewählte Dateien umbenennen" for several files: the names are edited in the
// lower text of the confirmation window.
void renameSeveral(const std::vector<std::string>& paths, RenameContext& context);
// "Bei ausgewählten Dateien Extension ändern".
void changeExtension(const std::vector<std::string>& paths, RenameContext& context);
// "Aus dem Header Dateityp ermitteln" for one file.
void typeFromHeader(const std::string& path, RenameContext& context);

// At start: plans a crash cut off are finished or taken back, as the user chooses.
void offerInterruptedRenames(const std::string& journalFolder, Dialogs& dialogs);

}  // namespace pictra::fileops
