#include "EmergencyCopy.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "common/FileIo.h"
#include "common/Text.h"

namespace pictra::emergency {

namespace {

namespace fs = std::filesystem;

// A header line, then per document a line with the byte lengths of its name and
// its text, the name, the text and a line break: any bytes survive unchanged.
constexpr std::string_view kHeader = "Pictra-Notkopie\n";

constexpr const char* kSuffix = "_notkopie";

bool readNumber(std::string_view s, size_t& at, size_t& value) {
    const auto [end, ec] = std::from_chars(s.data() + at, s.data() + s.size(), value);
    if (ec != std::errc()) return false;
    at = static_cast<size_t>(end - s.data());
    return true;
}

std::string shownName(const std::string& fileName) {
    return fileName.find('?') != std::string::npos ? std::string("(noch ohne Namen)") : fileName;
}

}  // namespace

std::string copyFileName(const ProgramPaths& paths, long long processId) {
    return paths.programFileName(std::string(kSuffix) + std::to_string(processId) + ".txt");
}

bool writeCopy(const std::string& path, const std::vector<UnsavedText>& texts) {
    if (texts.empty()) {
        removeCopy(path);
        return true;
    }
    std::string bytes(kHeader);
    for (const auto& t : texts) {
        bytes += std::to_string(t.fileName.size()) + " " + std::to_string(t.text.size()) + "\n";
        bytes += t.fileName;
        bytes += t.text;
        bytes += "\n";
    }
    return fileio::writeFile(path, bytes, false) == fileio::WriteResult::Written;
}

std::vector<UnsavedText> readCopy(const std::string& path) {
    std::vector<UnsavedText> texts;
    const auto bytes = fileio::readFile(path);
    if (!bytes || !text::startsWith(*bytes, kHeader)) return texts;
    const std::string_view s(*bytes);
    size_t at = kHeader.size();
    while (at < s.size()) {
        size_t nameLength = 0;
        size_t textLength = 0;
        if (!readNumber(s, at, nameLength) || at >= s.size() || s[at++] != ' ') break;
        if (!readNumber(s, at, textLength) || at >= s.size() || s[at++] != '\n') break;
        if (nameLength > s.size() - at || textLength > s.size() - at - nameLength) break;
        UnsavedText t{std::string(s.substr(at, nameLength)), std::string(s.substr(at + nameLength, textLength))};
        at += nameLength + textLength;
        if (at >= s.size() || s[at++] != '\n') break;
        texts.push_back(std::move(t));
    }
    return texts;
}

bool secureUnsavedTexts(const std::string& path, const std::vector<UnsavedText>& texts, Dialogs& dialogs) {
    if (writeCopy(path, texts)) return true;
    return dialogs.ask(kAskGoOnUnsecured) == Answer::Yes;
}

std::vector<std::string> leftoverCopies(const ProgramPaths& paths, const std::string& ownPath) {
    std::vector<std::string> found;
    const std::string prefix = paths.base + kSuffix;
    std::error_code ec;
    for (fs::directory_iterator it(paths.folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!text::startsWith(name, prefix) || !text::endsWith(name, ".txt")) continue;
        const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string path = paths.folder + name;
        if (path != ownPath) found.push_back(path);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::string restoreQuestion(const std::vector<UnsavedText>& texts) {
    std::string names;
    for (const auto& t : texts) names += "\r   " + shownName(t.fileName);
    const bool one = texts.size() == 1;
    return std::string("Pictra wurde beim letzten Mal nicht ordnungsgemäß beendet.\r") +
           (one ? "Von dieser ungesicherten Datei" : "Von diesen ungesicherten Dateien") + " gibt es eine Notkopie:" +
           names + "\r\r" + (one ? "Soll sie" : "Sollen sie") +
           " wiederhergestellt werden?\r(Nein: Die Notkopie wird gelöscht.)";
}

std::vector<UnsavedText> offerRestore(const ProgramPaths& paths, const std::string& ownPath, Dialogs& dialogs) {
    const std::vector<std::string> leftovers = leftoverCopies(paths, ownPath);
    std::vector<UnsavedText> texts;
    for (const auto& path : leftovers) {
        for (auto& t : readCopy(path)) texts.push_back(std::move(t));
    }
    std::vector<UnsavedText> restored;
    if (!texts.empty() && dialogs.ask(restoreQuestion(texts)) == Answer::Yes) {
        // Kept until they are saved: a second crash must not lose them either.
        if (!writeCopy(ownPath, texts)) return texts;
        restored = std::move(texts);
    }
    for (const auto& path : leftovers) removeCopy(path);
    return restored;
}

void removeCopy(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

}  // namespace pictra::emergency
