#pragma once

#include <string>
#include <vector>

namespace pictra {

// Where the program keeps its own files: the program folder (with a trailing
// separator), the base name of the program file and the settings profile.
struct ProgramPaths {
    std::string folder;
    std::string base = "pictra";
    std::string profile;

    std::string settingsFileName() const { return folder + base + profile + ".ini"; }
    std::string settingsBackupFileName() const { return settingsFileName() + "0"; }
    std::string explorerFolderListFileName() const { return folder + base + "h.ini"; }
    std::string programFileName(const std::string& suffix) const { return folder + base + suffix; }
    std::string binFolder() const { return folder + "papierkorb"; }
};

// The profile is the first argument when there are two or more (arguments
// without the program name). Separators are replaced so that a profile word can
// never move the settings file out of the program folder.
std::string profileFromArguments(const std::vector<std::string>& arguments);

}  // namespace pictra
