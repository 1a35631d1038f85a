#include "LineWrap.h"

#include "common/Text.h"

namespace pictra::linewrap {

std::vector<std::string> wrapLine(const std::string& line, int width) {
    std::vector<std::string> out;
    std::string rest = line;
    while (width > 0 && static_cast<int>(rest.size()) > width) {
        const size_t blank = rest.rfind(' ', static_cast<size_t>(width - 1));
        if (blank == std::string::npos || blank == 0) break;
        out.push_back(rest.substr(0, blank));
        rest = text::trimRight(rest.substr(blank + 1));
        if (rest.empty()) return out;
    }
    out.push_back(rest);
    return out;
}

std::vector<std::string> wrapEach(const std::vector<std::string>& lines, int width) {
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const auto& line : lines) {
        for (auto& piece : wrapLine(line, width)) out.push_back(std::move(piece));
    }
    return out;
}

std::string wrapParagraphs(const std::string& selection, int width) {
    std::vector<std::string> lines = text::splitLines(selection);
    std::vector<std::string> out;
    std::string paragraph;
    bool open = false;
    auto flush = [&] {
        if (!open) return;
        for (auto& piece : wrapLine(paragraph, width)) out.push_back(std::move(piece));
        paragraph.clear();
        open = false;
    };
    for (const auto& raw : lines) {
        const std::string line = text::trimRight(raw);
        if (line.empty()) {
            flush();
            out.emplace_back();
            continue;
        }
        if (open) paragraph += ' ';
        paragraph += line;
        open = true;
    }
    flush();
    return text::joinLines(out);
}

}  // namespace pictra::linewrap
