#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "explorer/CopyChecked.h"
#include "explorer/RecycleBin.h"

namespace pictra {
class Tones;
}

// The explorer's commands that change dates, permissions and contents of files.
namespace pictra::fileops {

// The values last entered in "Datum der Datei ändern", kept for the run.
struct DateEntry {
    long long year = 0;
    long long month = 0;
    long long day = 0;
};

// "Datum der Datei ändern": exactly one file; its last-write time becomes the day,
// 00:00 local time. An impossible date is an error, never another day.
void changeFileDate(const std::vector<std::string>& selected, DateEntry& last, Dialogs& dialogs);
// The day as seconds since the epoch at local midnight; nullopt for an impossible date.
std::optional<std::int64_t> localMidnight(long long year, long long month, long long day);

// "Schreibschutz aller Dateien entfernen": the owner may write again; nothing else changes.
void removeWriteProtection(const std::vector<std::string>& paths, Dialogs& dialogs);

// "Ausgewählte Dateipfade als Datei": the paths and list lines, then one link per
// file whose address is percent-encoded, for copying out of the window.
void showPathsAsText(const std::string& folder, const std::vector<std::string>& lines,
                     const std::vector<std::string>& paths, Dialogs& dialogs);
// Every byte but letters, digits and "-._~" as "%" + two hex digits.
std::string percentEncoded(const std::string& name);

// "Ausgewählte Datei splitten". Pieces are numbered with as many digits as the
// count of pieces needs (at least three), so they sort and join in order; an
// existing piece is never overwritten.
// On a removable volume (`removable`), the free space (`freeBytes`) is checked
// before each piece and a new disk asked for until it is enough; No ends the split.
struct SplitVolume {
    bool removable = false;
    std::function<std::uintmax_t()> freeBytes;
};
void splitFile(const std::vector<std::string>& selected, Dialogs& dialogs, const SplitVolume& volume = {});
// Piece names: base name + number + extension in the file's folder.
std::vector<std::string> pieceNames(const std::string& path, std::uintmax_t size, std::uintmax_t pieceSize);

// "Ausgewählte gesplittete Dateien zusammenfügen": the pieces in the order of their
// trailing numbers into a new file. `afterFile` gets the note shown after each
// piece ("Fertig").
void joinFiles(const std::vector<std::string>& selected, Dialogs& dialogs,
               const std::function<void(const std::string&)>& afterFile = {});
// The pieces ordered by the number at the end of their base names (list order among equals).
std::vector<std::string> inPieceOrder(std::vector<std::string> pieces);

// "Ausgewählte Dateien in Ordner "a" verschieben": copy or move (decided once per
// run in `moveMode`) into the subfolder "a"; a file of the same name there goes
// into the bin first.
void moveToFolderA(const std::vector<std::string>& selected, std::optional<bool>& moveMode, CopyContext& context,
                   Tones& tones, const bin::Date& today);

// "Ausgewählte Dateien duplizieren": each file copied to base name + "_" + extension
// (a download's ".part" left out); the copies made.
std::vector<std::string> duplicateFiles(const std::vector<std::string>& selected, CopyContext& context);
std::string duplicateName(const std::string& path);

// "Vorgemerkte Dateien in "Ablage" verschieben": into the subfolder "ablage" of
// each file's folder; a file of the same name there is never replaced.
void fileAway(const std::vector<std::string>& paths, CopyContext& context);

// "Alle ausgewählte Dateien mit demselben Text überschreiben": each file keeps its
// old content under base name + "_9" + extension, and its own name gets `text`
// (the current document, Windows-1252 with CR LF). A file whose "_9" name is
// taken is left as it is.
void overwriteWithText(const std::vector<std::string>& selected, const std::string& text, Dialogs& dialogs,
                       Tones& tones);

// Test hook: the largest block one system call copies in split and join.
void setCopyBlock(std::size_t bytes);

}  // namespace pictra::fileops
