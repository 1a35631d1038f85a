#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "settings/ProgramPaths.h"
#include "shell/DocumentFiles.h"

namespace pictra {

class SettingsStore;

// Numbered scratch files: program folder + base + "._" + number.
namespace numbered {

// Every number of a file in the folder whose name holds "._" and whose extension
// is "._" + a whole number; ascending, each once.
std::vector<long long> existingNumbers(const std::string& folder);
// Each number preceded by a blank.
std::string numberListText(const std::vector<long long>& numbers);
std::string fileName(const ProgramPaths& paths, long long number);

// What the commands need of the editor beyond the document list.
struct Context {
    DocumentHost& host;
    Dialogs& dialogs;
    SettingsStore& store;
    const ProgramPaths& paths;
    std::function<std::string(int)> richText;                    // the document in rich-text format
    std::function<void(int, const std::string&)> loadWithFormat;  // rich text shown formatted, else plain
};

// `askFileNumber`: the number asked with the existing ones in the title; 0 when cancelled.
long long askFileNumber(Context& c);
void saveAsNumbered(Context& c);   // "Speichern als Date Nr..."
void readNumbered(Context& c);     // "Einlesen Datei Nr..."
void deleteNumbered(Context& c);   // "Löschen Datei Nr..."
void collectNumbered(Context& c);  // "Alle "Nr.-Dateien" einlesen und auf Platte löschen"

}  // namespace numbered
}  // namespace pictra
