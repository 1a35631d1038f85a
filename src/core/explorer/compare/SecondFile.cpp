#include "SecondFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/FileIo.h"
#include "common/Text.h"
#include "explorer/RecycleBin.h"

namespace pictra::compare {

namespace {

constexpr long long kLargest = 1LL << 30;

// What one pass over a file of megabytes finds: its line ends, for the list's
// size and the way to split it, and its smallest byte, for the text check. Blocks
// of a fixed length let the compiler take 16 bytes a step.
struct Scan {
    std::size_t lf = 0;
    std::size_t cr = 0;
    unsigned char smallest = 0xFF;
};

Scan scan(std::string_view text) {
    Scan s;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    const auto add = [&s](unsigned char c) {
        s.lf += c == '\n';
        s.cr += c == '\r';
        s.smallest = std::min(s.smallest, c);
    };
    for (; i + 64 <= n; i += 64) {
        unsigned lf = 0;
        unsigned cr = 0;
        unsigned char smallest = 0xFF;
        for (std::size_t k = 0; k < 64; ++k) {
            const unsigned char c = p[i + k];
            lf += c == '\n';
            cr += c == '\r';
            smallest = std::min(smallest, c);
        }
        s.lf += lf;
        s.cr += cr;
        s.smallest = std::min(s.smallest, smallest);
    }
    for (; i < n; ++i) add(p[i]);
    return s;
}

// Every line end CR LF, CR or LF, byte by byte.
void splitAnyEnds(std::string_view text, Cells& lines) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.push_back({text.substr(start, i - start)});
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back({text.substr(start)});
}

// The usual files: only LF, or every CR in a CR LF. A jump from LF to LF; false
// (with `lines` cleared) when a CR turns up elsewhere after all.
bool splitLineFeeds(std::string_view text, bool crlf, Cells& lines) {
    std::size_t start = 0;
    while (start < text.size()) {
        const void* found = std::memchr(text.data() + start, '\n', text.size() - start);
        const std::size_t end = found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data()) : text.size();
        std::size_t cut = end;
        if (crlf && found) {
            if (end == start || text[end - 1] != '\r') {
                lines.clear();
                return false;
            }
            --cut;
        }
        lines.push_back({text.substr(start, cut - start)});
        start = end + 1;
    }
    return true;
}

void splitInto(FileLines& file, const Scan& scanned) {
    const std::string_view text(file.bytes.get(), file.size);
    // One more for the grid's row below the last line.
    file.lines.reserve(std::max(scanned.lf, scanned.cr) + 2);
    const bool usual = scanned.cr == 0 || scanned.cr == scanned.lf;
    if (!usual || !splitLineFeeds(text, scanned.cr > 0, file.lines)) splitAnyEnds(text, file.lines);
    // The caret trailer: a last line of blanks only, as the document's loading takes it off.
    if (!file.lines.empty() && file.lines.back().text.find_first_not_of(' ') == std::string_view::npos) {
        file.lines.pop_back();
    }
}

// The whole regular file, as fileio::readFile reads it, into a block on large pages.
std::optional<FileLines> readWhole(const std::string& path) {
    // O_NONBLOCK: should a FIFO have taken the file's place since, opening it must not wait.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kLargest) {
        ::close(fd);
        return std::nullopt;
    }
    // A byte of room past the size shows whether the file has grown since.
    const std::size_t room = static_cast<std::size_t>(st.st_size) + 1;
    FileLines file;
    file.bytes = pageBlock(room);
    while (file.size < room) {
        const ssize_t n = ::read(fd, file.bytes.get() + file.size, room - file.size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) break;
            ::close(fd);
            return std::nullopt;
        }
        file.size += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (file.size == room) {
        // Still being written: read as a whole the ordinary way.
        auto bytes = fileio::readFile(path);
        if (!bytes) return std::nullopt;
        FileLines grown;
        grown.size = bytes->size();
        grown.bytes = pageBlock(grown.size);
        std::memcpy(grown.bytes.get(), bytes->data(), grown.size);
        return grown;
    }
    return file;
}

}  // namespace

FileLines fileLines(std::string_view bytes) {
    FileLines file;
    file.size = bytes.size();
    file.bytes = pageBlock(file.size);
    if (!bytes.empty()) std::memcpy(file.bytes.get(), bytes.data(), bytes.size());
    splitInto(file, scan(bytes));
    return file;
}

std::variant<FileLines, std::string> readSecondFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return "Die Datei \"" + path + "\" ist nicht vorhanden.";
    // A FIFO or device could keep the read waiting for ever.
    if (!S_ISREG(st.st_mode)) return "Datei \"" + path + "\"kann nicht geladen werden.";
    if (st.st_size > kLargest) return "Die Datei \"" + path + "\" ist größer als 1 GB und wird nicht verglichen.";
    auto file = readWhole(path);
    if (!file) return "Datei \"" + path + "\"kann nicht geladen werden.";
    const Scan s = scan(std::string_view(file->bytes.get(), file->size));
    if (s.smallest < 7) return "Keine Textdatei: \"" + path + "\" wird nicht verglichen.";
    splitInto(*file, s);
    return std::move(*file);
}

std::optional<std::string> newestBackup(const std::string& binFolder, const std::string& path) {
    // Every backup of one file shares the name up to its date: take it from a name
    // made for any day and size.
    const std::string sample = bin::binName(path, bin::Date{2000, 1, 1}, std::nullopt);
    const std::size_t dateAt = sample.rfind("_000101_");
    if (dateAt == std::string::npos) return std::nullopt;
    const std::string prefix = sample.substr(0, dateAt + 1);
    const std::string extension = sample.substr(sample.rfind("_000101_00") + 10);
    DIR* dir = ::opendir(binFolder.c_str());
    if (!dir) return std::nullopt;
    std::optional<std::string> newest;
    long newestDay = 0;
    long long newestTime = 0;
    while (dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!text::startsWith(name, prefix) || name.size() < prefix.size() + extension.size() ||
            name.compare(name.size() - extension.size(), extension.size(), extension) != 0) {
            continue;
        }
        // The rest must be the date and size alone, so "brief_2" never passes for "brief".
        const std::string rest = name.substr(prefix.size(), name.size() - prefix.size() - extension.size());
        if (rest.size() < 8 || rest[6] != '_' || rest.find_first_not_of("0123456789_") != std::string::npos ||
            rest.find('_', 7) != std::string::npos) {
            continue;
        }
        const auto date = bin::deletionDate(name);
        if (!date) continue;
        struct stat st {};
        const std::string full = binFolder + "/" + name;
        if (::stat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        const long day = bin::daysBetween(bin::Date{2000, 1, 1}, *date);
        const long long time = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
        if (!newest || day > newestDay || (day == newestDay && time > newestTime)) {
            newest = full;
            newestDay = day;
            newestTime = time;
        }
    }
    ::closedir(dir);
    return newest;
}

}  // namespace pictra::compare
