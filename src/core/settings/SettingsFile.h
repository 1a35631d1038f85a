#pragma once

#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "settings/ProgramPaths.h"
#include "settings/SettingsStore.h"

namespace pictra {

inline constexpr const char* kMsgNoIniLoaded =
    "Noch keine Ini-Datei geladen! (Programm ist neu oder in einem Ordner ohne Schreibzugriffe.)";
inline constexpr const char* kMsgCannotSaveIni =
    "Kann Ini-Datei nicht Speichern!\rAbhilfe: Speichern Sie das Programm Pictra im Ordner \"Eigene "
    "Dateien\"\roder in einem Ordner, zu dem Sie die Berechtigung haben.";

// Reading and writing the settings file, its backup and the explorer folder list.
class SettingsFile {
public:
    SettingsFile(ProgramPaths paths, Dialogs& dialogs) : m_paths(std::move(paths)), m_dialogs(dialogs) {}

    const ProgramPaths& paths() const { return m_paths; }

    // Loads the store at start: the file, a copy of it as backup, sorted; the
    // backup when that fails; an empty store and a message when both fail.
    void load(SettingsStore& store);

    // Writes the store at exit unless "Bearbeite Inidatei" cleared that.
    void saveAtExit(const SettingsStore& store);
    bool saveAtExitEnabled() const { return m_saveAtExit; }

    // "Bearbeite Inidatei".
    void editAsText(SettingsStore& store);

    // Settings text on disk: UTF-8, one entry per line, CR LF. A line that is not
    // UTF-8 is read as Windows-1252.
    static std::vector<std::string> decodeLines(const std::string& bytes);
    static std::string encodeLines(const std::vector<std::string>& lines);

private:
    ProgramPaths m_paths;
    Dialogs& m_dialogs;
    bool m_saveAtExit = true;
};

// The explorer's folder list, a plain sorted list of folders in its own file.
class FolderList {
public:
    void load(const std::string& fileName);
    // Failures are ignored: the list is a convenience.
    void save(const std::string& fileName) const;

    const std::vector<std::string>& folders() const { return m_folders; }
    void setFolders(std::vector<std::string> folders);

private:
    std::vector<std::string> m_folders;
};

}  // namespace pictra
