#include "SecondFile.h"

#include <dirent.h>
#include <sys/stat.h>

#include "common/FileIo.h"
#include "common/Text.h"
#include "explorer/RecycleBin.h"
#include "shell/FileRules.h"

namespace pictra::compare {

namespace {

constexpr long long kLargest = 1LL << 30;

}  // namespace

std::variant<std::vector<std::string>, std::string> readSecondFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return "Die Datei \"" + path + "\" ist nicht vorhanden.";
    // A FIFO or device could keep the read waiting for ever.
    if (!S_ISREG(st.st_mode)) return "Datei \"" + path + "\"kann nicht geladen werden.";
    if (st.st_size > kLargest) return "Die Datei \"" + path + "\" ist größer als 1 GB und wird nicht verglichen.";
    auto bytes = fileio::readFile(path);
    if (!bytes) return "Datei \"" + path + "\"kann nicht geladen werden.";
    if (!filerules::controlCodes(*bytes).empty()) {
        return "Keine Textdatei: \"" + path + "\" wird nicht verglichen.";
    }
    std::vector<std::string> lines = text::splitLines(*bytes);
    filerules::takeCaretTrailer(lines);
    return lines;
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
