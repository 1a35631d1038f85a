#include "NestingDepth.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/Text.h"

namespace pictra::html {

namespace {

// Elements that never hold others, or whose next sibling closes them: a page
// full of them unclosed is flat, not deep.
bool opensNothing(std::string_view name) {
    static constexpr std::array<std::string_view, 40> kNames = {
        "a",      "area",  "base",     "basefont", "body",  "br",     "col",   "colgroup", "dd",    "dt",
        "embed",  "frame", "head",     "hr",       "html",  "img",    "input", "isindex",  "keygen", "li",
        "link",   "meta",  "option",   "optgroup", "p",     "param",  "rp",    "rt",       "source", "tbody",
        "td",     "tfoot", "th",       "thead",    "tr",    "track",  "wbr",   "image",    "bgsound", "spacer"};
    return std::find(kNames.begin(), kNames.end(), name) != kNames.end();
}

bool nameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == ':' ||
           c == '_';
}

// Past the end of `close` (searched without regard to case) from `from`; the page's end when missing.
size_t pastClosing(const std::string& lower, size_t from, std::string_view close) {
    const size_t at = lower.find(close, from);
    return at == std::string::npos ? lower.size() : at + close.size();
}

}  // namespace

int nestingDepth(const std::string& page) {
    const std::string lower = text::toLowerCp1252(page);
    std::vector<std::string> open;
    // How often each name stands in `open`: an end tag of an element that is not
    // open is ignored at once instead of searched for down the whole chain.
    std::unordered_map<std::string, int> openCount;
    size_t deepest = 0;
    size_t i = 0;
    while ((i = lower.find('<', i)) != std::string::npos) {
        if (lower.compare(i, 4, "<!--") == 0) {
            i = pastClosing(lower, i + 4, "-->");
            continue;
        }
        if (i + 1 < lower.size() && (lower[i + 1] == '!' || lower[i + 1] == '?')) {
            i = pastClosing(lower, i + 2, ">");
            continue;
        }
        const bool closing = i + 1 < lower.size() && lower[i + 1] == '/';
        const size_t nameStart = i + (closing ? 2 : 1);
        size_t nameEnd = nameStart;
        while (nameEnd < lower.size() && nameCharacter(lower[nameEnd])) ++nameEnd;
        if (nameEnd == nameStart) {
            ++i;  // a "<" in the text
            continue;
        }
        std::string name = lower.substr(nameStart, nameEnd - nameStart);
        const size_t gt = lower.find('>', nameEnd);
        const size_t tagEnd = gt == std::string::npos ? lower.size() : gt + 1;
        if (closing) {
            auto counted = openCount.find(name);
            if (counted != openCount.end() && counted->second > 0) {
                while (!open.empty()) {
                    std::string top = std::move(open.back());
                    open.pop_back();
                    --openCount[top];
                    if (top == name) break;
                }
            }
        } else if (name == "script" || name == "style") {
            i = pastClosing(lower, tagEnd, "</" + name);
            continue;
        } else if (!opensNothing(name) && !(gt != std::string::npos && gt > 0 && lower[gt - 1] == '/')) {
            ++openCount[name];
            open.push_back(std::move(name));
            deepest = std::max(deepest, open.size());
        }
        i = tagEnd;
    }
    return static_cast<int>(std::min<size_t>(deepest, 1'000'000'000));
}

std::string tooDeepForTidy(int depth) {
    return "Die Seite ist zu tief verschachtelt: " + std::to_string(depth) + " Ebenen ineinander (höchstens " +
           std::to_string(kTidyDepthLimit) + ").\rTidy wurde nicht aufgerufen, der Text bleibt unverändert.";
}

}  // namespace pictra::html
