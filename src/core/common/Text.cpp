#include "Text.h"

#include "Numbers.h"

#include <cstdlib>

#include <algorithm>

#include <charconv>

namespace pictra::text {

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    // Counting the line ends first spares a long text's list growing and moving its lines again and again.
    lines.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines, std::string_view separator) {
    std::string out;
    size_t total = 0;
    for (const auto& l : lines) total += l.size() + separator.size();
    out.reserve(total);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) out += separator;
        out += lines[i];
    }
    return out;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

char lowerCp1252(char c) {
    auto b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
    if ((b >= 0xC0 && b <= 0xDE && b != 0xD7)) return static_cast<char>(b + 32);
    if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<char>(b + 16);
    if (b == 0x9F) return static_cast<char>(0xFF);
    return c;
}

std::string toLowerCp1252(std::string_view s) {
    std::string out(s);
    for (auto& c : out) c = lowerCp1252(c);
    return out;
}

std::string toUpperCp1252(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7)) {
            c = static_cast<char>(u - 32);
        } else if (u == 0x9A || u == 0x9C || u == 0x9E) {
            c = static_cast<char>(u - 16);
        } else if (u == 0xFF) {
            c = static_cast<char>(0x9F);
        }
    }
    return out;
}

std::string toLowerAscii(std::string_view s) {
    std::string out(s);
    for (auto& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return out;
}

namespace {
bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }
}  // namespace

std::string trim(std::string_view s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && isBlankOrControl(s[b])) ++b;
    while (e > b && isBlankOrControl(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

std::string trimRight(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && isBlankOrControl(s[e - 1])) --e;
    return std::string(s.substr(0, e));
}

std::optional<long long> parseInt(std::string_view s) {
    std::string t = trim(s);
    std::string_view v(t);
    if (!v.empty() && v.front() == '+') v.remove_prefix(1);
    if (v.empty()) return std::nullopt;
    long long value = 0;
    auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), value);
    if (ec != std::errc() || ptr != v.data() + v.size()) return std::nullopt;
    return value;
}

long long toIntDef(std::string_view s, long long fallback) { return parseInt(s).value_or(fallback); }

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string out;
    size_t pos = 0;
    while (true) {
        size_t hit = s.find(from, pos);
        if (hit == std::string_view::npos) break;
        out.append(s.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(s.substr(pos));
    return out;
}

double decimalOf(std::string_view cell) {
    const size_t minus = cell.find('-');
    const bool negative = minus != std::string_view::npos;
    const std::string_view part = negative ? cell.substr(minus + 1) : cell;
    std::string kept;
    for (char c : part) {
        if (c >= '0' && c <= '9') {
            kept += c;
        } else if (c == ',' || c == '.') {
            kept += '.';
        }
    }
    if (kept.empty()) return 0;
    // Two separators do not convert.
    if (std::count(kept.begin(), kept.end(), '.') > 1) return 0;
    const double value = parseDouble(kept).value_or(0);
    return negative ? -value : value;
}

}  // namespace pictra::text
