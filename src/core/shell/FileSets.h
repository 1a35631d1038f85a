#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "shell/DocumentFiles.h"

namespace pictra {

class SettingsStore;

// File sets ("Makro") and the recent files.
namespace filesets {

inline constexpr int kSets = 20;

// "[" + N + "] " + name for every defined set 1..20; nullopt for a hidden entry.
std::vector<std::optional<std::string>> menuCaptions(const SettingsStore& store);

// `recordFile`: "Letzte Datei" (unless the path holds "/tmp"), and the history
// (ten lower... paths, newest first) unless the file belongs to a set. True when
// the history changed. Paths keep their case on Linux; comparisons ignore it.
bool recordFile(SettingsStore& store, const std::string& path);

// The entries of "Erneut öffnen...": the last file first (with Ctrl+0), then the
// history without repetitions and without the last file.
std::vector<std::string> recentEntries(const SettingsStore& store);

// `openFileSet(N)`: closes all documents first unless `addMode` (a refusal keeps
// them and adds the set), then reads every file of the set into documents.
void openFileSet(int number, bool addMode, DocumentHost& host, DocumentFiles& files, Dialogs& dialogs,
                 SettingsStore& store);

// The set editor's contents: its name (from the menu caption) and its files
// (later duplicates removed, trailing blanks removed).
struct SetForEdit {
    std::string name;
    std::vector<std::string> files;
};
SetForEdit setForEdit(const SettingsStore& store, int number, const std::string& caption);
// "OK" of the editor: the list stored, the name stored (or deleted for an empty
// list); returns the caption the menu entry gets now.
std::string storeSet(SettingsStore& store, int number, const std::string& name, const std::string& listText);
// "Dateien alphabetisch ordnen".
std::string sortedList(const std::string& listText);

// Asks a set number 1..20 (again after a wrong one); nullopt when cancelled.
std::optional<int> askSetNumber(Dialogs& dialogs, const std::string& title, const std::string& prompt,
                                long long start, bool repeat);
// "Makro tauschen".
void swapFileSets(SettingsStore& store, Dialogs& dialogs);

}  // namespace filesets
}  // namespace pictra
