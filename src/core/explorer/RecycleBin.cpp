#include "RecycleBin.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "common/CaseFold.h"
#include "common/FileIo.h"
#include "common/Text.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace pictra::bin {

namespace {

// Extension as the program sees it: from the last "." of the file-name part.
size_t extensionStart(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path.size();
    return dot;
}

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

namespace {

constexpr size_t kNameLimit = 255;

std::string hashOf(const std::string& s) {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (unsigned char c : s) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char out[17];
    std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(h));
    return out;
}

std::string decode(std::string name) {
    name = text::replaceAll(name, "_d_", ":");
    name = text::replaceAll(name, "_p_", ".");
    return text::replaceAll(name, "_b_", "/");
}

}  // namespace

std::string binName(const std::string& path, const Date& today, std::optional<std::uintmax_t> size) {
    const size_t ext = extensionStart(path);
    std::string stem = path.substr(0, ext);
    stem = text::replaceAll(stem, ":", "_d_");
    stem = text::replaceAll(stem, ".", "_p_");
    stem = text::replaceAll(stem, "/", "_b_");
    char date[16];
    std::snprintf(date, sizeof date, "%02d%02d%02d", today.year % 100, today.month, today.day);
    const std::string tail = std::string("_") + date + "_" + (size ? std::to_string(*size) : std::string("00")) +
                             path.substr(ext);
    if (stem.size() + tail.size() <= kNameLimit) return stem + tail;
    const std::string mark = "_h_" + hashOf(stem);
    // Room for the companion's ".pfad" as well.
    const size_t keep = kNameLimit - std::string(kCompanionExtension).size() - mark.size() - std::min(tail.size(), size_t{100});
    return stem.substr(0, keep) + mark + tail.substr(0, std::min(tail.size(), size_t{100}));
}

bool isShortened(const std::string& binFileName) {
    const size_t mark = binFileName.rfind("_h_");
    return mark != std::string::npos && binFileName.size() >= mark + 19 &&
           binFileName.find_first_not_of("0123456789abcdef", mark + 3) == mark + 19;
}

bool writeCompanion(const std::string& binFolder, const std::string& binFileName, const std::string& originalPath) {
    return fileio::writeFileAtomic(binFolder + "/" + binFileName + kCompanionExtension, originalPath);
}

std::string shownEntry(const std::string& binFolder, const std::string& fileName) {
    if (fileName.empty() || fileName.front() == '.') return {};
    const std::string companion = kCompanionExtension;
    if (fileName.size() > companion.size() && fileName.compare(fileName.size() - companion.size(), companion.size(), companion) == 0) {
        return {};
    }
    if (isShortened(fileName)) {
        if (auto original = fileio::readFile(binFolder + "/" + fileName + companion)) {
            const size_t ext = extensionStart(fileName);
            const size_t sizeSep = fileName.rfind('_', ext);
            const size_t dateSep = sizeSep == std::string::npos ? std::string::npos : fileName.rfind('_', sizeSep - 1);
            const std::string addition = dateSep == std::string::npos ? std::string() : fileName.substr(dateSep, ext - dateSep);
            const size_t originalExt = extensionStart(*original);
            return original->substr(0, originalExt) + addition + original->substr(originalExt);
        }
    }
    return decode(fileName);
}

std::vector<BinEntry> binEntries(const std::string& binFolder) {
    std::vector<BinEntry> entries;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(binFolder, ec)) {
        const std::string name = e.path().filename().string();
        const std::string shown = shownEntry(binFolder, name);
        if (!shown.empty() && e.is_regular_file(ec)) entries.push_back({shown, name});
    }
    std::sort(entries.begin(), entries.end(), [](const BinEntry& a, const BinEntry& b) {
        return casefold::lessUtf8(a.shown, b.shown);
    });
    return entries;
}

std::optional<Date> deletionDate(const std::string& fileName) {
    const std::string stem = fileName.substr(0, extensionStart(fileName));
    const size_t sizeSep = stem.find_last_of('_');
    if (sizeSep == std::string::npos || sizeSep < 7 || !allDigits(std::string_view(stem).substr(sizeSep + 1))) {
        return std::nullopt;
    }
    const std::string_view date = std::string_view(stem).substr(sizeSep - 6, 6);
    if (stem[sizeSep - 7] != '_' || !allDigits(date)) return std::nullopt;
    Date d{2000 + (date[0] - '0') * 10 + (date[1] - '0'), (date[2] - '0') * 10 + (date[3] - '0'),
           (date[4] - '0') * 10 + (date[5] - '0')};
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31) return std::nullopt;
    return d;
}

long daysBetween(const Date& from, const Date& to) {
    using namespace std::chrono;
    const sys_days a = year_month_day{year{from.year}, month{static_cast<unsigned>(from.month)},
                                      day{static_cast<unsigned>(from.day)}};
    const sys_days b =
        year_month_day{year{to.year}, month{static_cast<unsigned>(to.month)}, day{static_cast<unsigned>(to.day)}};
    return static_cast<long>((b - a).count());
}

int purge(const std::string& binFolder, const Date& today, std::chrono::system_clock::time_point now) {
    int deleted = 0;
    std::error_code ec;
    fs::create_directories(binFolder, ec);
    // A move into the bin killed halfway leaves a named temporary file, which
    // neither the list nor the age rule below would ever touch.
    fileio::removeStaleTemporaries(binFolder, true);
    fs::directory_iterator it(binFolder, ec);
    if (ec) return 0;
    for (const auto& entry : it) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.front() == '.') continue;
        if (!entry.is_regular_file(ec) || ec) {
            if (ec) return deleted;
            continue;
        }
        long age = 0;
        if (auto date = deletionDate(name)) {
            age = daysBetween(*date, today);
        } else {
            const auto written = fs::last_write_time(entry.path(), ec);
            if (ec) return deleted;
            const auto writtenSys = std::chrono::file_clock::to_sys(written);
            const double days = std::chrono::duration<double, std::ratio<86400>>(now - writtenSys).count();
            age = std::lround(days);
        }
        if (age > 10) {
            if (!fs::remove(entry.path(), ec) || ec) return deleted;
            ++deleted;
        }
    }
    return deleted;
}

}  // namespace pictra::bin
