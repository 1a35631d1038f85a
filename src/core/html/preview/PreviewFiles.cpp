#include "PreviewFiles.h"

#include <system_error>

#include "common/Codec.h"
#include "common/FileIo.h"
#include "common/Text.h"

namespace pictra::preview {

namespace fs = std::filesystem;

bool hasIncludes(const std::string& text) { return text.find(" include") != std::string::npos; }

namespace {

bool isQuote(char c) { return c == '"' || c == '\''; }

std::optional<std::string> quotedName(const std::string& line) {
    const size_t open = line.find_first_of("\"'");
    if (open == std::string::npos) return std::nullopt;
    size_t close = open + 1;
    while (close < line.size() && !isQuote(line[close])) ++close;
    if (close >= line.size() || close == open + 1) return std::nullopt;
    return line.substr(open + 1, close - open - 1);
}

std::optional<std::string> readInclude(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return std::nullopt;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error || size > kMaxIncludeBytes) return std::nullopt;
    return fileio::readFile(path);
}

}  // namespace

std::string expandIncludes(const std::string& text, const std::string& folder, Dialogs& dialogs) {
    std::vector<std::string> out;
    for (const auto& line : text::splitLines(text)) {
        const auto name = line.find(" include") != std::string::npos && line.find("counter") == std::string::npos
                              ? quotedName(line)
                              : std::nullopt;
        if (!name) {
            out.push_back(line);
            continue;
        }
        const std::string utf8 = codec::cp1252ToUtf8(*name);
        const std::string path = utf8.front() == '/' ? utf8 : folder + utf8;
        const auto content = readInclude(path);
        if (!content) {
            dialogs.inform("Datei \"" + path + "\" konnte nicht geladen werden.");
            out.push_back(line);
            continue;
        }
        for (auto& included : text::splitLines(*content)) out.push_back(std::move(included));
    }
    return text::joinLines(out) + "\r\n";
}

bool PreviewFiles::wroteLast(const std::string& path) const {
    const auto it = m_written.find(path);
    if (it == m_written.end()) return false;
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error) return false;
    const auto time = fs::last_write_time(path, error);
    return !error && size == it->second.size && time == it->second.time;
}

bool PreviewFiles::write(const std::string& path, const std::string& bytes) {
    std::error_code error;
    if (fs::exists(fs::symlink_status(path, error)) && !wroteLast(path)) {
        const auto size = fs::file_size(path, error);
        const std::string name =
            bin::binName(path, m_today, error ? std::nullopt : std::optional<std::uintmax_t>(size));
        const std::string folder = text::endsWith(m_binFolder, "/") ? m_binFolder : m_binFolder + "/";
        const std::string target = folder + name;
        fs::create_directories(folder, error);
        if (bin::isShortened(name)) bin::writeCompanion(folder, name, path);
        std::string copyError;
        if (!fileio::moveFile(path, target)) {
            if (!fileio::copyFileAtomic(path, target, copyError)) return false;
            fs::remove(path, error);
            if (error) return false;
        }
    }
    // The page is made anew from the editor at every F9 and holds nothing the editor
    // lacks: it is replaced whole but not flushed to the disk, which on a busy disk
    // takes longer than a small page takes to show. Where no new file can be made
    // beside it (a folder without write permission), the file is rewritten in place.
    if (!fileio::writeFileCached(path, bytes) && !fileio::writeFileAtomic(path, bytes)) return false;
    const auto size = fs::file_size(path, error);
    const auto time = fs::last_write_time(path, error);
    if (!error) m_written[path] = {size, time};
    return true;
}

}  // namespace pictra::preview
