#include "Captions.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/PathNames.h"
#include "common/Text.h"
#include "pictures/PictureNames.h"

namespace pictra::pictures::captions {

namespace {

// The hexadecimal value of exactly `count` characters at `at`; nullopt when any is no hex digit or missing.
std::optional<std::uint32_t> hexField(std::string_view line, std::size_t at, std::size_t count) {
    if (at + count > line.size()) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        const char c = line[i];
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

void appendHex(std::string& out, std::uint32_t value, int digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
}

}  // namespace

CaptionLine parseCaptionLine(std::string_view line, const CaptionStyle& defaults) {
    CaptionLine result{defaults, {}};
    if (line.empty() || line[0] != '#') {
        result.text = std::string(line);
        return result;
    }
    const std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos) return result;
    result.text = std::string(line.substr(blank + 1));
    if (result.text.empty()) return result;
    if (const auto size = hexField(line, 1, 2)) result.style.size = static_cast<int>(*size);
    if (const auto font = hexField(line, 3, 6)) result.style.font = *font;
    if (const auto background = hexField(line, 9, 6)) result.style.background = *background;
    return result;
}

std::string formatCaptionLine(const CaptionStyle& style, std::string_view text) {
    std::string out = "#";
    appendHex(out, static_cast<std::uint32_t>(std::clamp(style.size, 0, 255)), 2);
    appendHex(out, style.font & 0xFFFFFF, 6);
    appendHex(out, style.background & 0xFFFFFF, 6);
    out += ' ';
    out += text;
    return out;
}

bool isCaptionFile(const std::string& path) { return pathnames::lowerExtension(path) == ".jp0"; }

std::string captionPathFor(const std::string& picturePath) {
    const std::size_t slash = picturePath.find_last_of('/');
    const std::size_t dot = picturePath.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? picturePath.substr(0, dot) : picturePath) + ".jp0";
}

std::string pictureNameForCaption(const std::string& captionName, const std::vector<std::string>& folderNames) {
    const auto baseOf = [](const std::string& name) {
        const std::size_t dot = name.find_last_of('.');
        return text::toLowerAscii(dot == std::string::npos ? name : name.substr(0, dot));
    };
    const std::string base = baseOf(captionName);
    std::string other;
    for (const std::string& name : folderNames) {
        if (baseOf(name) != base) continue;
        const std::string ext = pathnames::lowerExtension(name);
        if (ext == ".jpg") return name;
        if (other.empty() && ext != ".jp0" && ext != ".txt" && isPictureFile(name)) other = name;
    }
    return other;
}

std::vector<std::string> splitCaptionLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        lines.emplace_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
    return lines;
}

std::string captionFileBytes(const std::vector<std::string>& memoLines, const CaptionStyle& style) {
    std::size_t count = memoLines.size();
    while (count > 0 && memoLines[count - 1].empty()) --count;
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        out += formatCaptionLine(style, memoLines[i]);
        out += "\r\n";
    }
    return out;
}

std::vector<PlacedCaption> captionPlan(const std::vector<std::string>& lines, const CaptionStyle& defaults, int ox,
                                       int oy, int pictureHeight) {
    std::vector<PlacedCaption> plan;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // Below the picture even at the smallest visible size (1 point): so is every later line.
        if ((3LL * static_cast<long long>(i) + 1) / 2 + oy >= pictureHeight) break;
        CaptionLine line = parseCaptionLine(lines[i], defaults);
        if (line.style.size <= 0) continue;  // nothing to see
        // round(size × 1.5 × i) in whole numbers: halves go up, as every value is positive.
        const long long y = (3LL * line.style.size * static_cast<long long>(i) + 1) / 2 + oy;
        if (y >= pictureHeight) continue;
        if (line.text.empty()) continue;
        PlacedCaption placed;
        placed.transparent = line.style.background == kTransparent || line.text[0] == '_';
        if (line.text[0] == '_') line.text.erase(0, 1);
        if (line.text.empty()) continue;
        placed.x = 25 + ox;
        placed.y = static_cast<int>(y);
        placed.style = line.style;
        placed.text = std::move(line.text);
        plan.push_back(std::move(placed));
    }
    return plan;
}

std::vector<Glyph> threeDPositions(std::size_t characters, int x, int y, int size) {
    std::vector<Glyph> out;
    out.reserve(characters);
    for (std::size_t i = 0; i < characters; ++i) {
        out.push_back({x + static_cast<int>(5LL * size * static_cast<long long>(i) / 8), y});
    }
    return out;
}

int threeDShadows(int size) { return std::max(0, size / 8); }

std::vector<Glyph> slantPositions(const std::vector<int>& widths, int x, int y, int d) {
    std::vector<Glyph> out;
    if (widths.empty()) return out;
    long long total = 0;
    for (int w : widths) total += std::max(0, w);
    const double w = static_cast<double>(std::max<long long>(total, 1));
    const double limit = std::max(0.0, w - 1);
    const double dd = std::clamp(static_cast<double>(d), -limit, limit);
    const double stretch = std::sqrt(w * w - dd * dd) / w;
    double fx = x;
    int gy = y;
    out.push_back({x, y});
    for (std::size_t i = 1; i < widths.size(); ++i) {
        fx += widths[i - 1] * stretch;
        gy -= d;
        out.push_back({static_cast<int>(std::lround(fx)), gy});
    }
    return out;
}

std::string historyPath(const std::string& programFolder, const std::string& baseName) {
    return programFolder + baseName + "._text_auf_bild";
}

}  // namespace pictra::pictures::captions
