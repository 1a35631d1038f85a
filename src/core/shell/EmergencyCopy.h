#pragma once

#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "settings/ProgramPaths.h"

// Unsaved texts kept safe while a command runs a library over a whole document:
// should the program die in the middle, the next start offers them back.
namespace pictra::emergency {

struct UnsavedText {
    std::string fileName;  // the document's name; "?" (or a name with "?") while it has none
    std::string text;      // Windows-1252, CR LF
};

// This run's copy in the program folder; the process id keeps a second running
// instance from taking the first one's copy for a leftover.
std::string copyFileName(const ProgramPaths& paths, long long processId);

// Writes the texts as the run's copy, replacing its earlier one, through a
// temporary file that is synced and renamed (never half a copy); with no texts
// the copy is removed. False when it could not be written.
bool writeCopy(const std::string& path, const std::vector<UnsavedText>& texts);
// The texts of a copy; a damaged end is left out.
std::vector<UnsavedText> readCopy(const std::string& path);

inline constexpr const char* kAskGoOnUnsecured =
    "Die ungesicherten Dateien konnten nicht als Notkopie im Programmordner gesichert werden.\rTrotzdem "
    "weitermachen?";

// Before a command that runs a library over the whole text: the modified
// documents' texts go into the run's copy first. False (after the user said No
// to going on without it) stops the command.
bool secureUnsavedTexts(const std::string& path, const std::vector<UnsavedText>& texts, Dialogs& dialogs);

// The copies left by runs that did not end normally (every copy in the program
// folder but `ownPath`), by name.
std::vector<std::string> leftoverCopies(const ProgramPaths& paths, const std::string& ownPath);

// The question at start-up naming the documents of the leftover copies (UTF-8).
std::string restoreQuestion(const std::vector<UnsavedText>& texts);

// The start-up check: when runs that did not end left copies, asks once whether
// to bring their texts back. Yes: the texts are returned and kept in this run's
// copy (`ownPath`) until they are saved; either way the leftovers are removed
// afterwards, so the question comes only once.
std::vector<UnsavedText> offerRestore(const ProgramPaths& paths, const std::string& ownPath, Dialogs& dialogs);

// At the normal end of the run.
void removeCopy(const std::string& path);

}  // namespace pictra::emergency
