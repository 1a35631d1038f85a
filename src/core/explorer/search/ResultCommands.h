#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "explorer/CopyChecked.h"
#include "explorer/RecycleBin.h"
#include "explorer/search/SearchSession.h"

// The commands of the search window's result list. Paths are the lines' texts up
// to the first "|", trimmed.
namespace pictra::filesearch {

// "Dateien mit gleichem Namen und gleicher Größe  aussortieren": every pair of lines
// with the same file name and size part, the shorter line first, then the longer,
// then an empty line; `selected` holds the longer line of each pair whose two files
// are byte for byte the same (only those are safe to delete). Lines are grouped by
// name and size first, so a long list costs no pair loop over all its lines.
struct Duplicates {
    std::vector<std::string> lines;
    std::vector<int> selected;
    bool stopped = false;
};
Duplicates findDuplicates(const std::vector<std::string>& lines, Dialogs& dialogs);
// Both files hold the same bytes (read in blocks, never whole).
bool sameContent(const std::string& a, const std::string& b);

// The line holding the first occurrence of `text` (UTF-8 as typed), as UTF-8: a hit's tooltip.
std::optional<std::string> firstMatchingLine(std::string_view bytes, const std::string& text, bool matchCase);

// "Falsche Links suchen" over one text: each href="…" whose link (up to the next
// double quote, within 500 characters) holds a backslash, as path + " | " + link.
std::vector<std::string> wrongLinks(const std::string& path, const std::string& text);

// "ausgewählte Dateien umbennen": the new path of the line at list position `row`:
// folder + name + number (row + 1, at least three digits) + extension.
std::string numberedPath(const std::string& path, const std::string& name, int row);
// Asks for the name and the confirmation, then renames through a plan; the failures
// are reported at the end. False when nothing was done.
bool renameNumbered(const std::vector<std::string>& paths, const std::vector<int>& rows, Dialogs& dialogs,
                    const std::string& journalFolder);

// "einzelne Datei umbenennen". True when the file was renamed.
bool renameOne(const std::string& path, Dialogs& dialogs);

// "Aus dem Header Dateityp ermitteln": files without an extension get the one their
// first bytes name; `tone` sounds once per file. True when any was renamed.
bool extensionsFromHeader(const std::vector<std::string>& paths, Dialogs& dialogs,
                          const std::function<void()>& tone);

// The replace step for one file. `keepBackup` keeps the old file in the bin before
// it is rewritten (false: it could not be kept, the file stays as it is).
enum class ReplaceOutcome { NoMatch, Replaced, NotChanged };
ReplaceOutcome replaceInFile(const std::string& path, const std::string& t1, const std::string& replacement,
                             bool matchCase, Dialogs& dialogs, const std::function<bool(const std::string&)>& keepBackup);
// Files the replace step never touches: by extension, and by a NUL byte among the first 1024 bytes.
bool replaceSkipsName(const std::string& path);
bool looksBinary(const std::string& bytes);

// "Text in Datei ersetzten": sets or clears the session's replacement text.
void askReplacement(const std::string& t1, SearchSession& session, Dialogs& dialogs);

// "Dateien mit Ordner kopieren in folgenden Ordner", after the target and choices are
// settled: each path re-rooted below its volume's mount point under `target`,
// copied by the backup copy rule. `mountOf` gives a path's mount point. Returns the count copied.
int copyWithFolders(const std::vector<std::string>& paths, const std::string& target, const SearchSession& session,
                    CopyContext& context, const std::function<std::string(const std::string&)>& mountOf);
// The target of one file: folder + the path below its mount point.
std::string rerooted(const std::string& path, const std::string& target, const std::string& mountPoint);
// A web text file that is copied whatever the choice.
bool isWebText(const std::string& path);

}  // namespace pictra::filesearch
