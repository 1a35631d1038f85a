#include "NumberedFiles.h"

#include <algorithm>
#include <filesystem>

#include "common/FileIo.h"
#include "common/Text.h"
#include "settings/SettingsStore.h"
#include "shell/Documents.h"

namespace fs = std::filesystem;

namespace pictra::numbered {

std::vector<long long> existingNumbers(const std::string& folder) {
    std::vector<long long> numbers;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        // A folder (or anything else) named like a numbered file holds no note.
        std::error_code kind;
        if (!e.is_regular_file(kind)) continue;
        const std::string name = e.path().filename().string();
        if (name.find("._") == std::string::npos) continue;
        const size_t dot = name.find_last_of('.');
        const std::string digits = dot + 2 <= name.size() ? name.substr(dot + 2) : std::string();
        if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
            continue;
        }
        const auto n = text::parseInt(digits);
        if (n && std::find(numbers.begin(), numbers.end(), *n) == numbers.end()) numbers.push_back(*n);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::string numberListText(const std::vector<long long>& numbers) {
    std::string out;
    for (long long n : numbers) out += " " + std::to_string(n);
    return out;
}

std::string fileName(const ProgramPaths& paths, long long number) {
    return paths.programFileName("._" + std::to_string(number));
}

long long askFileNumber(Context& c) {
    long long number = text::toIntDef(c.store.readValue("Einstellungen", "Nr.:"), 1);
    const std::string title = "Bereits vorhanden: " + numberListText(existingNumbers(c.paths.folder));
    if (!c.dialogs.askNumber(title, "Geben Sie eine Nr. für die Notiz ein!", number)) return 0;
    if (number > 0) c.store.writeValue("Einstellungen", "Nr.:", std::to_string(number));
    return number;
}

void saveAsNumbered(Context& c) {
    const long long n = askFileNumber(c);
    if (n <= 0) return;
    const int index = c.host.currentIndex();
    const std::string name = fileName(c.paths, n);
    c.host.setFileName(index, name);
    c.host.setTabCaption(index, documents::fileNamePart(name));
    c.host.refreshCaption();
    if (fileio::fileExists(name) && c.dialogs.ask("Kann die Datei \"" + name + "überschrieben werden?") != Answer::Yes) {
        return;
    }
    std::string bytes;
    if (c.dialogs.ask("Nur Text schreiben (Nein: Text wird als Richedit-Text geschrieben)") == Answer::Yes) {
        for (const auto& line : c.host.editor(index).lines()) bytes.append(line).append("\r\n");
    } else {
        bytes = c.richText(index);
    }
    if (fileio::writeFileAtomic(name, bytes)) {
        c.host.showNotice("Als Datei \"" + name + "\" geschieben");
    } else {
        c.dialogs.inform("Kann \"" + name + "\" nicht schreiben");
    }
}

namespace {

// Into the current document when it is empty, else into a new one.
bool readInto(Context& c, long long n) {
    const std::string name = fileName(c.paths, n);
    const auto bytes = fileio::readFile(name);
    if (!bytes) {
        c.dialogs.inform("Datei Nr." + std::to_string(n) + " existiert noch nicht!");
        return false;
    }
    if (!c.host.isEmpty(c.host.currentIndex())) c.host.newDocument();
    const int index = c.host.currentIndex();
    c.loadWithFormat(index, *bytes);
    c.host.setFileName(index, name);
    c.host.setTabCaption(index, documents::fileNamePart(name));
    c.host.refreshCaption();
    return true;
}

}  // namespace

namespace {

// A number whose file exists; 0 when cancelled or (with the message) missing.
long long askExistingNumber(Context& c) {
    const long long n = askFileNumber(c);
    if (n <= 0) return 0;
    if (!fileio::fileExists(fileName(c.paths, n))) {
        c.dialogs.inform("Datei \"" + fileName(c.paths, n) + "\" existiert nicht!");
        return 0;
    }
    return n;
}

}  // namespace

void readNumbered(Context& c) {
    if (const long long n = askExistingNumber(c); n > 0) readInto(c, n);
}

void deleteNumbered(Context& c) {
    while (const long long n = askExistingNumber(c)) {
        const std::string name = fileName(c.paths, n);
        if (c.dialogs.ask("Datei \"" + name + "\" wirklich löschen?") != Answer::Yes) return;
        std::error_code ec;
        fs::remove(name, ec);
    }
}

void collectNumbered(Context& c) {
    const auto numbers = existingNumbers(c.paths.folder);
    if (numbers.empty()) {
        c.dialogs.inform("Keine \"Nr.Datei\" vorhanden!");
        return;
    }
    for (long long n : numbers) {
        if (!readInto(c, n)) continue;
        const std::string name = fileName(c.paths, n);
        if (c.dialogs.ask("Datei \"" + name + "\" (siehe Editor) auf Festplatte löschen?") == Answer::Yes) {
            std::error_code ec;
            fs::remove(name, ec);
        }
    }
}

}  // namespace pictra::numbered
