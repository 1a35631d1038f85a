#include "NameRules.h"

#include <algorithm>
#include <charconv>

#include "common/CaseFold.h"
#include "common/Codec.h"
#include "common/Text.h"

namespace pictra::fileops {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

size_t trailingDigits(std::string_view s) {
    size_t n = 0;
    while (n < s.size() && isDigit(s[s.size() - 1 - n])) ++n;
    return n;
}

long long numberOf(std::string_view digits) {
    long long value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return ec == std::errc() && end == digits.data() + digits.size() ? value : 0;
}

std::string padded(long long number, size_t width) {
    std::string digits = std::to_string(number);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

}  // namespace

std::string validName(std::string_view name) {
    return codec::isValidUtf8(name) ? std::string(name) : codec::cp1252ToUtf8(name);
}

std::string baseNameOf(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

std::string extensionOfName(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    return dot == std::string::npos ? std::string() : fileName.substr(dot);
}

std::string umlautMapped(std::string_view baseName) {
    std::string s = validName(baseName);
    for (const auto& [from, to] : {std::pair{"ä", "ae"}, {"ö", "oe"}, {"ü", "ue"}, {"ß", "ss"}, {" ", "_"}, {".", "_"}}) {
        s = text::replaceAll(s, from, to);
    }
    return s;
}

bool hasUmlautOrBlank(std::string_view baseName) { return umlautMapped(baseName) != baseName; }

namespace {

// Upper or lower case of every letter Windows-1252 holds, through its code page table.
std::string convertCase(std::string_view utf8, bool upper) {
    // Most names are plain ASCII: no code points needed.
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        std::string out(utf8);
        for (char& c : out) {
            if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
            if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        }
        return out;
    }
    std::string out;
    out.reserve(utf8.size());
    for (char32_t cp : codec::utf8ToCodePoints(validName(utf8))) {
        const int byte = codec::unicodeToCp1252(cp);
        if (byte >= 0) {
            const char c = static_cast<char>(byte);
            const std::string converted = upper ? text::toUpperCp1252(std::string_view(&c, 1))
                                                : std::string(1, text::lowerCp1252(c));
            cp = codec::cp1252ToUnicode(static_cast<unsigned char>(converted[0]));
        }
        codec::appendUtf8(out, cp);
    }
    return out;
}

}  // namespace

std::string toUpperUtf8(std::string_view utf8) { return convertCase(utf8, true); }
std::string toLowerUtf8(std::string_view utf8) { return convertCase(utf8, false); }

std::string caseConverted(std::string_view fileName, bool upper) {
    std::string name = convertCase(fileName, upper);
    if (!upper && text::endsWith(name, ".jpeg")) name.replace(name.size() - 5, 5, ".jpg");
    return name;
}

std::optional<std::string> paddedNumber(std::string_view baseName) {
    const size_t digits = trailingDigits(baseName);
    if (digits == 0 || digits > 2) return std::nullopt;
    std::string result(baseName.substr(0, baseName.size() - digits));
    result += std::string(3 - digits, '0');
    result += baseName.substr(baseName.size() - digits);
    return result;
}

int numberWidth(std::size_t count) {
    const std::string largest = std::to_string(static_cast<unsigned long long>(count) * 10);
    return std::max(3, static_cast<int>(largest.size()));
}

std::string numberedBaseName(std::string_view baseName, long long number, int width) {
    size_t keep = baseName.size();
    while (keep > 0 && !isAsciiLetter(baseName[keep - 1])) --keep;
    return std::string(baseName.substr(0, keep)) + padded(number, static_cast<size_t>(width));
}

std::vector<std::string> seriesNames(std::vector<std::string> lines, std::size_t count) {
    if (lines.size() == 1) {
        const std::string only = text::trim(lines[0]);
        if (!only.empty() && !isDigit(only.back())) lines[0] = only + "01";
    }
    std::vector<std::string> names;
    names.reserve(count);
    std::string running = "bild01";
    long long step = 1;
    for (size_t i = 0; i < count; ++i) {
        const std::string line = i < lines.size() ? text::trim(lines[i]) : std::string();
        if (!line.empty()) {
            // The number of the running name: its digits and "-" signs taken together.
            std::string signs;
            for (char c : running) {
                if (isDigit(c) || c == '-') signs += c;
            }
            long long a = 0;
            if (const auto parsed = text::parseInt(signs)) a = *parsed;
            const long long b = numberOf(std::string_view(line).substr(line.size() - trailingDigits(line)));
            if (a < b) step = b - a;
            if (std::abs(step - 10) < 5) step = 10;
            if (std::abs(step - 100) < 50) step = 100;
            running = line;
        } else {
            const size_t digits = trailingDigits(running);
            const std::string stem = running.substr(0, running.size() - digits);
            const long long current = digits == 0 ? 10 : numberOf(std::string_view(running).substr(stem.size()));
            running = stem + padded(current + step, digits);
        }
        names.push_back(running);
    }
    return names;
}

std::string nameWithExtension(const std::string& seriesName, const std::string& oldExtension) {
    const size_t dot = seriesName.find('.');
    if (dot == std::string::npos) return seriesName + oldExtension;
    const size_t next = seriesName.find('.', dot + 1);
    return seriesName.substr(0, next);
}

std::string headerType(std::string_view firstBytes) {
    if (firstBytes.size() < 4) return {};
    const std::string head = text::toLowerAscii(firstBytes.substr(0, 4));
    const std::string_view h = head;
    if (h[0] == '\xff' && h[1] == '\xd8') return ".jpg";
    if (h.substr(0, 3) == "gif") return ".gif";
    if (h[0] == '\xd0' && h[1] == '\xcf') return ".doc";
    if (h.substr(0, 2) == "bm") return ".bmp";
    if (h.substr(1, 3) == "png") return ".png";
    if (h.substr(0, 3) == "flv") return ".flv";
    if (h.substr(1, 3) == "pdf") return ".pdf";
    if (h.substr(0, 3) == "0&\xb2") return ".wmv";
    return {};
}

}  // namespace pictra::fileops
