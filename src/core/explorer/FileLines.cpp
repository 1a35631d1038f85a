#include "FileLines.h"
#include "common/PathNames.h"

#include <algorithm>
#include <cstdio>

#include "common/CaseFold.h"
#include "common/Codec.h"
#include "common/Text.h"

namespace pictra::explorer {

namespace {

constexpr size_t kMaxNameWidth = 40;

// Characters as the list shows them: a UTF-8 name counts its code points, any
// other name its bytes.
size_t displayWidth(const std::string& s) {
    if (!codec::isValidUtf8(s)) return s.size();
    size_t n = 0;
    for (char c : s) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    }
    return n;
}

std::string padRight(std::string s, size_t width) {
    const size_t shown = displayWidth(s);
    if (shown < width) s.append(width - shown, ' ');
    return s;
}

std::string padLeft(const std::string& s, size_t width) {
    return s.size() < width ? std::string(width - s.size(), ' ') + s : s;
}


}  // namespace

std::string formatSize(std::uintmax_t size) {
    std::string digits = std::to_string(size);
    std::string out;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += ' ';
        out += digits[i];
    }
    return out;
}

std::string formatDate(std::time_t time) {
    static const char* const kDays[] = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
    std::tm local{};
    localtime_r(&time, &local);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d.%02d.%02d %s %02d:%02d", local.tm_mday, local.tm_mon + 1,
                  local.tm_year % 100, kDays[local.tm_wday % 7], local.tm_hour, local.tm_min);
    return buffer;
}

std::string attributeLetters(const FileEntry& e) {
    std::string letters;
    if (e.readOnly) letters += 'R';
    if (e.hidden) letters += 'H';
    if (e.system) letters += 'S';
    return letters;
}

bool isWebPage(const std::string& name) {
    const std::string ext = pathnames::lowerExtension(name);
    if (ext.find(".htm") == std::string::npos && ext.find(".php") == std::string::npos) return false;
    return text::toLowerAscii(name.substr(0, 2)) != "zz";
}

std::vector<FileLine> buildFileLines(const std::vector<FileEntry>& entries) {
    struct Parts {
        std::string name;
        std::string size;
        std::string date;
        const FileEntry* entry;
    };
    std::vector<Parts> parts;
    parts.reserve(entries.size());
    size_t nameWidth = 0;
    size_t sizeWidth = 0;
    for (const auto& e : entries) {
        if (e.directory) continue;
        Parts p{(isWebPage(e.name) ? " " : "") + e.name, attributeLetters(e) + formatSize(e.size),
                formatDate(e.modified), &e};
        nameWidth = std::max(nameWidth, std::min(displayWidth(p.name), kMaxNameWidth));
        sizeWidth = std::max(sizeWidth, p.size.size());
        parts.push_back(std::move(p));
    }
    // Sorted by the whole text ignoring case, each key folded once.
    std::vector<std::pair<std::string, FileLine>> keyed;
    keyed.reserve(parts.size());
    for (auto& p : parts) {
        std::string line = padRight(std::move(p.name), nameWidth) + "|" + padLeft(p.size, sizeWidth) + "|" + p.date;
        std::string key = casefold::foldUtf8(line);
        keyed.push_back({std::move(key), FileLine{std::move(line), p.entry->name}});
    }
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second.text < b.second.text;
    });
    std::vector<FileLine> lines;
    lines.reserve(keyed.size());
    for (auto& k : keyed) lines.push_back(std::move(k.second));
    return lines;
}

std::string listingCaption(int folders, int files, const std::string& folder) {
    std::string f = folder;
    while (f.size() > 1 && f.back() == '/') f.pop_back();
    return std::to_string(folders) + " Ordner / " + std::to_string(files) + (files == 1 ? " Datei" : " Dateien") +
           "  " + f;
}

std::string pathOfLine(const std::string& folder, const std::string& line) {
    const size_t bar = line.find('|');
    const std::string name = text::trim(bar == std::string::npos ? line : line.substr(0, bar));
    std::string f = folder;
    if (f.empty() || f.back() != '/') f += '/';
    return f + name;
}

bool isSpecialLine(const std::string& line) { return line.rfind("-->", 0) == 0; }

// The size may have more than ten digits (10 GB and more), so the path starts after
// the first blank rather than at a fixed column.
std::string specialLinePath(const std::string& line) {
    const auto blank = line.find(' ');
    return blank == std::string::npos ? std::string() : line.substr(blank + 1);
}

long long sumOfSizes(const std::vector<std::string>& lines) {
    long long total = 0;
    for (const auto& line : lines) {
        const size_t first = line.find('|');
        const size_t second = first == std::string::npos ? std::string::npos : line.find('|', first + 1);
        if (second == std::string::npos) continue;
        std::string digits;
        for (char c : line.substr(first + 1, second - first - 1)) {
            if ((c >= '0' && c <= '9') || c == '-') digits += c;
        }
        total += text::toIntDef(digits, 0);
    }
    return total;
}

std::vector<int> simpleSearch(const std::vector<std::string>& lines, const std::string& term, bool matchCase) {
    std::vector<int> hits;
    const std::string needle = matchCase ? term : casefold::foldUtf8(term);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string hay = matchCase ? lines[i] : casefold::foldUtf8(lines[i]);
        if (hay.find(needle) != std::string::npos) hits.push_back(static_cast<int>(i));
    }
    return hits;
}

std::string selectionCaption(const std::vector<std::string>& selectedLines) {
    return "Größe der ausgewählten Dateien: " + std::to_string(sumOfSizes(selectedLines));
}

std::string fileTypeStatus(const std::string& typeName, const std::string& openCommand) {
    return typeName + " (" + openCommand + ")";
}

}  // namespace pictra::explorer
