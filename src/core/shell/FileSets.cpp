#include "FileSets.h"

#include <algorithm>

#include "common/FileIo.h"
#include "common/Text.h"
#include "settings/SettingsStore.h"
#include "shell/Documents.h"
#include "shell/FileRules.h"

namespace pictra::filesets {

namespace {

constexpr const char* kMakro = "Makro";
constexpr const char* kNames = "NameMakro";
constexpr const char* kMain = "Hauptmenu";

std::string lower(const std::string& s) { return text::toLowerAscii(s); }

std::vector<std::string> setFiles(const SettingsStore& store, int number) {
    std::vector<std::string> files;
    for (const auto& line : text::splitLines(store.readList(kMakro, std::to_string(number)))) {
        if (!text::trim(line).empty()) files.push_back(line);
    }
    return files;
}

bool belongsToASet(const SettingsStore& store, const std::string& path) {
    const std::string wanted = lower(path);
    for (int n = 1; n <= kSets; ++n) {
        if (lower(store.readList(kMakro, std::to_string(n))).find(wanted) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

std::vector<std::optional<std::string>> menuCaptions(const SettingsStore& store) {
    std::vector<std::optional<std::string>> captions;
    for (int n = 1; n <= kSets; ++n) {
        const std::string name = store.readValue(kNames, std::to_string(n));
        captions.push_back(name.empty() ? std::nullopt : std::optional("[" + std::to_string(n) + "] " + name));
    }
    return captions;
}

bool recordFile(SettingsStore& store, const std::string& path) {
    if (path.find("/tmp") == std::string::npos) store.writeValue(kMain, "Letzte Datei", path);
    if (belongsToASet(store, path)) return false;
    std::vector<std::string> history = text::splitLines(store.readList(kMain, "History"));
    std::erase_if(history, [](const std::string& h) { return text::trim(h).empty(); });
    if (!history.empty() && lower(history.front()) == lower(path)) return false;
    history.insert(history.begin(), path);
    if (history.size() > 10) history.resize(10);
    store.writeList(kMain, "History", text::joinLines(history, "\r\n"));
    return true;
}

std::vector<std::string> recentEntries(const SettingsStore& store) {
    std::vector<std::string> entries;
    const std::string last = store.readValue(kMain, "Letzte Datei");
    if (!last.empty()) entries.push_back(last);
    std::vector<std::string> seen;
    for (const auto& h : text::splitLines(store.readList(kMain, "History"))) {
        const std::string key = lower(h);
        if (h.empty() || std::find(seen.begin(), seen.end(), key) != seen.end()) continue;
        seen.push_back(key);
        if (key != lower(last)) entries.push_back(h);
    }
    return entries;
}

void openFileSet(int number, bool addMode, DocumentHost& host, DocumentFiles& files, Dialogs& dialogs,
                 SettingsStore& store) {
    if (!addMode) {
        bool all = true;
        for (int i = 0; i < host.documentCount() && all; ++i) all = files.confirmClose(i);
        if (all) {
            host.removeAllDocuments();
            if (host.documentCount() == 0) host.newDocument();
        }
    }
    const auto paths = setFiles(store, number);
    if (paths.empty()) {
        dialogs.inform("Noch keine Dateien für das Makro ausgewählt.\rWählen Sie Programm \"Makro|Makro neu einrichten "
                       "oder ändern\"!\rDort können Sie angeben, welche Dateien automatisch eingelesen werden sollen");
        return;
    }
    for (const auto& path : paths) {
        if (!host.isEmpty(host.currentIndex())) host.newDocument();
        const int index = host.documentCount() - 1;
        host.switchTo(index);
        const auto bytes = fileio::readFile(path);
        if (!bytes) {
            dialogs.inform("Datei \"" + path + "\"kann nicht geladen werden.\rVielleicht ist sie bei Word eingelesen "
                           "worden?");
            continue;
        }
        const filerules::LoadedText loaded = filerules::loadedText(*bytes);
        host.loadText(index, loaded.text, loaded.caret.value_or(0));
        host.setFileName(index, path);
        host.setTabCaption(index, documents::fileNamePart(path));
    }
    if (host.documentCount() == 0) host.newDocument();
    const long long tab = text::toIntDef(store.readValue(kMain, "Aktuellea Makro" + std::to_string(number)), 0);
    files.setCurrentMacro(number);
    host.switchTo(0);
    if (tab >= 0 && tab < host.documentCount()) host.switchTo(static_cast<int>(tab));
    host.refreshCaption();
}

SetForEdit setForEdit(const SettingsStore& store, int number, const std::string& caption) {
    SetForEdit edit;
    std::string name = text::replaceAll(caption, "&", "");
    if (const size_t bracket = name.find(']'); bracket != std::string::npos) name = text::trim(name.substr(bracket + 1));
    edit.name = name;
    std::vector<std::string> keys;
    for (std::string file : setFiles(store, number)) {
        while (!file.empty() && file.back() == ' ') file.pop_back();
        if (std::find(keys.begin(), keys.end(), lower(file)) != keys.end()) continue;
        keys.push_back(lower(file));
        edit.files.push_back(file);
    }
    return edit;
}

std::string storeSet(SettingsStore& store, int number, const std::string& name, const std::string& listText) {
    const std::string key = std::to_string(number);
    store.writeList(kMakro, key, listText);
    const std::string shown = text::trim(name).empty() ? "Makro " + key : name;
    store.writeValue(kNames, key, text::trim(listText).empty() ? std::string() : shown);
    return shown;
}

std::string sortedList(const std::string& listText) {
    std::vector<std::string> lines = text::splitLines(text::toLowerAscii(listText));
    std::sort(lines.begin(), lines.end());
    return text::joinLines(lines, "\r\n");
}

std::optional<int> askSetNumber(Dialogs& dialogs, const std::string& title, const std::string& prompt, long long start,
                                bool repeat) {
    while (true) {
        long long number = start;
        if (!dialogs.askNumber(title, prompt, number)) return std::nullopt;
        if (number >= 1 && number <= kSets) return static_cast<int>(number);
        dialogs.inform("Bitte nur eine Zahl von 1 bis 20 eingeben");
        if (!repeat) return std::optional<int>(0);
    }
}

void swapFileSets(SettingsStore& store, Dialogs& dialogs) {
    const auto first = askSetNumber(dialogs, "Makro tauschen", "Geben Sie das erste Makro ein", 0, false);
    if (!first || *first == 0) return;
    const auto second = askSetNumber(dialogs, "Makro tauschen", "Geben Sie das zweite Makro ein", 0, false);
    if (!second || *second == 0) return;
    const std::string a = std::to_string(*first);
    const std::string b = std::to_string(*second);
    const std::string nameA = store.readValue(kNames, a);
    const std::string listA = store.readList(kMakro, a);
    store.writeValue(kNames, a, store.readValue(kNames, b));
    store.writeList(kMakro, a, store.readList(kMakro, b));
    store.writeValue(kNames, b, nameA);
    store.writeList(kMakro, b, listA);
    dialogs.inform("Nach dem nächsten Aufruf von Pictra sind die Makros getauscht");
}

}  // namespace pictra::filesets
