#include "Documents.h"

#include <filesystem>

#include "common/Text.h"

namespace pictra::documents {

std::string fileNamePart(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string tabCaption(const std::string& fileName, bool modified) {
    std::string caption = fileNamePart(fileName);
    if (modified && !text::endsWith(fileName, "~")) caption += "*";
    return caption;
}

bool captionShowsModified(const std::string& caption) { return caption.find('*') != std::string::npos; }

std::string windowCaption(const std::string& fileName, int lineCount, bool firstLineIsStar,
                          const std::string& alarmTimes) {
    const int shown = lineCount > 1 && firstLineIsStar ? lineCount - 2 : lineCount;
    return fileName + "[" + std::to_string(shown) + "]  " + alarmTimes;
}

namespace {
// Paths are UTF-8: ASCII letters fold here, other characters compare as they are.
std::string folded(const std::string& s) { return text::toLowerAscii(s); }
}  // namespace

int findOpen(const std::vector<std::string>& fileNames, const std::string& path) {
    const std::string wanted = folded(path);
    for (size_t i = 0; i < fileNames.size(); ++i) {
        if (folded(fileNames[i]) == wanted) return static_cast<int>(i);
    }
    return -1;
}

std::vector<MenuEntry> documentMenu(const std::vector<std::string>& fileNames) {
    std::vector<MenuEntry> entries;
    entries.reserve(fileNames.size() + 1);
    for (size_t i = 0; i < fileNames.size(); ++i) {
        MenuEntry e;
        e.caption = "[" + std::to_string(i + 1) + "]" + fileNames[i];
        e.hint = fileNames[i].find('?') != std::string::npos
                     ? "Datei wurde noch nicht -oder nur temporär- abgespeichert."
                     : "Klick: Umschalten in Datei " + e.caption;
        entries.push_back(std::move(e));
    }
    entries.push_back({kExplorerEntry, "Der Dateienexplorer wird auf den Pfad der aktuellen Datei eingestellt", false});
    for (size_t n = 31; n <= entries.size(); n += 30) entries[n - 1].startsColumn = true;
    return entries;
}

std::string startRequest(const std::vector<std::string>& arguments, const std::string& programFolder,
                         bool indexExists, const std::string& workingFolder) {
    if (arguments.empty()) return indexExists ? programFolder + "index.html" : std::string();
    std::string request;
    for (char c : arguments.front()) {
        if (static_cast<unsigned char>(c) > 12) request.push_back(c);
    }
    if (request.empty() || request.front() == '/' || workingFolder.empty()) return request;
    // The explorer opens only full paths; "foto.jpg" typed in a terminal means the terminal's folder.
    return (std::filesystem::path(workingFolder) / request).lexically_normal().string();
}

}  // namespace pictra::documents
