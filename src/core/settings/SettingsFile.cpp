#include "SettingsFile.h"

#include <algorithm>

#include "common/Codec.h"
#include "common/FileIo.h"
#include "common/Text.h"

namespace pictra {

// Line by line: one stray byte must not turn every other umlaut of the file into
// two characters for good.
std::vector<std::string> SettingsFile::decodeLines(const std::string& bytes) {
    std::vector<std::string> lines = text::splitLines(bytes);
    for (auto& line : lines) {
        if (!codec::isValidUtf8(line)) line = codec::cp1252ToUtf8(line);
    }
    return lines;
}

std::string SettingsFile::encodeLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out.append(l).append("\r\n");
    return out;
}

void SettingsFile::load(SettingsStore& store) {
    store.setLines({});
    if (auto bytes = fileio::readFile(m_paths.settingsFileName())) {
        std::vector<std::string> lines = decodeLines(*bytes);
        // A backup that cannot be written (a full disk, no write access) is no
        // reason to load the older backup: it would overwrite newer settings at exit.
        (void)fileio::writeFileAtomic(m_paths.settingsBackupFileName(), encodeLines(lines));
        sortSettingsLines(lines);
        store.setLines(std::move(lines));
        return;
    }
    if (auto backup = fileio::readFile(m_paths.settingsBackupFileName())) {
        store.setLines(decodeLines(*backup));
        return;
    }
    m_dialogs.inform(kMsgNoIniLoaded);
}

void SettingsFile::saveAtExit(const SettingsStore& store) {
    if (!m_saveAtExit) return;
    if (!fileio::writeFileAtomic(m_paths.settingsFileName(), encodeLines(store.lines()))) {
        m_dialogs.inform(kMsgCannotSaveIni);
    }
}

void SettingsFile::editAsText(SettingsStore& store) {
    if (!fileio::writeFileAtomic(m_paths.settingsBackupFileName(), encodeLines(store.lines()))) {
        // Claiming a backup that was not written would be worse than stopping here.
        m_dialogs.inform(kMsgCannotSaveIni);
        return;
    }
    m_dialogs.inform("Ini-Datei gesichert als \"" + m_paths.settingsFileName() + "0\"");
    std::string edited = m_dialogs.editText("Makros und Einstellungen", store.text());
    if (edited == kCancelMarker) return;
    if (m_dialogs.ask("Sollen beim Beenden von Pictra diese Werte gelten?") != Answer::Yes) return;
    store.setLines(text::splitLines(edited));
    if (fileio::writeFileAtomic(m_paths.settingsFileName(), encodeLines(store.lines()))) {
        m_saveAtExit = false;
    } else {
        // Keep the exit save so the edited values get a second chance.
        m_dialogs.inform(kMsgCannotSaveIni);
    }
}

void FolderList::load(const std::string& fileName) {
    m_folders.clear();
    if (auto bytes = fileio::readFile(fileName)) setFolders(SettingsFile::decodeLines(*bytes));
}

void FolderList::save(const std::string& fileName) const {
    (void)fileio::writeFileAtomic(fileName, SettingsFile::encodeLines(m_folders));
}

void FolderList::setFolders(std::vector<std::string> folders) {
    std::erase_if(folders, [](const std::string& f) { return f.empty(); });
    std::sort(folders.begin(), folders.end());
    m_folders = std::move(folders);
}

}  // namespace pictra
