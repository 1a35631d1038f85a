#include "FileRules.h"

#include "common/LargeBuffer.h"
#include "common/PathNames.h"

#include <filesystem>

#include "common/Text.h"
#include "shell/Documents.h"

namespace pictra::filerules {

std::string extensionOf(const std::string& path) { return pathnames::extensionOf(path); }

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool isNonTextExtension(const std::string& path) {
    const std::string ext = text::toLowerAscii(extensionOf(path));
    if (ext.find(".mp") != std::string::npos) return true;
    for (const char* e : {".doc", ".rtf", ".xls", ".pps", ".exe", ".dll", ".dcu", ".bin", ".wav", ".pdf", ".zip",
                          ".wmv", ".mp3"}) {
        if (ext == e) return true;
    }
    return false;
}

bool hasPictureExtension(const std::string& path) {
    const std::string lower = text::toLowerAscii(path);
    for (const char* e : {".bmp", ".ico", ".gif", ".jpg", ".png", ".tif", ".jpe", ".wmf", ".jp0"}) {
        if (lower.find(e) != std::string::npos) return true;
    }
    return false;
}

std::string temporaryFolder(const SettingsStore& store, const ProgramPaths& paths) {
    std::string temp = store.readValue("Einstellungen", "Temp");
    if (!temp.empty()) {
        if (temp.back() != '/') temp += '/';
        std::error_code ec;
        std::filesystem::create_directories(temp, ec);
        if (std::filesystem::is_directory(temp, ec)) return temp;
    }
    return paths.folder;
}

std::string temporaryName(const SettingsStore& store, const ProgramPaths& paths, const std::string& suffix) {
    return temporaryFolder(store, paths) + "tmp" + suffix;
}

std::string hourFileName(const SettingsStore& store, const ProgramPaths& paths, int hour) {
    const std::string hh = (hour < 10 ? "0" : "") + std::to_string(hour);
    return temporaryName(store, paths, hh + "uhr.html");
}

std::string previewFileName(const SettingsStore& store, const ProgramPaths& paths, const std::string& fileName,
                            int hour) {
    if (fileName.empty() || fileName.find('?') != std::string::npos) return hourFileName(store, paths, hour);
    return folderOf(fileName) + "tmp.html";
}

std::string caretTrailer(int caret) { return std::string(static_cast<size_t>(std::max(0, caret) / 100), ' '); }

std::optional<int> takeCaretTrailer(std::vector<std::string>& lines) {
    if (lines.empty()) return std::nullopt;
    const std::string& last = lines.back();
    if (last.find_first_not_of(' ') != std::string::npos) return std::nullopt;
    const int blanks = static_cast<int>(last.size());
    lines.pop_back();
    return 100 * blanks + 50;
}

LoadedText loadedText(std::string_view bytes) {
    LoadedText loaded;
    if (bytes.empty()) return loaded;
    size_t loneEnds = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) ++loneEnds;
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) ++loneEnds;
    }
    std::string& out = loaded.text;
    // A text of megabytes is taken in one buffer rather than a string per line:
    // it is the largest part of the memory a big file needs while it loads.
    common::reserveLarge(out, bytes.size() + loneEnds);
    size_t lastLine = 0;  // where the last line starts in `out`
    size_t start = 0;
    bool first = true;
    const auto addLine = [&](size_t end) {
        if (!first) out += "\r\n";
        first = false;
        lastLine = out.size();
        out.append(bytes.substr(start, end - start));
    };
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        addLine(i);
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) addLine(bytes.size());
    if (out.find_first_not_of(' ', lastLine) == std::string::npos) {
        loaded.caret = 100 * static_cast<int>(out.size() - lastLine) + 50;
        out.resize(lastLine >= 2 ? lastLine - 2 : 0);
    }
    return loaded;
}

std::vector<std::string> linesToSave(std::vector<std::string> lines, int caret) {
    for (auto& line : lines) {
        const size_t end = line.find_last_not_of(' ');
        line.resize(end == std::string::npos ? 0 : end + 1);
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    lines.push_back(caretTrailer(caret));
    return lines;
}

bool isHtml(const std::string& text) { return text::toLowerAscii(text.substr(0, 800)).find("<html") != std::string::npos; }

std::string htmlPath(const std::string& path) {
    const std::string ext = text::toLowerAscii(extensionOf(path));
    if (ext.find('h') != std::string::npos || ext.find('p') != std::string::npos) return path;
    return path.substr(0, path.size() - ext.size()) + ".html";
}

std::string controlCodes(const std::string& text) {
    std::string codes;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 7) continue;
        codes += std::to_string(b) + " ";
        if (codes.size() > 60) break;
    }
    return codes;
}

}  // namespace pictra::filerules
