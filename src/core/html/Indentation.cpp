#include "Indentation.h"

#include <algorithm>

#include "common/Text.h"

namespace pictra::html {

namespace {

const std::string kMark = "\xA2\xA6\xA8\xAC\xAF";

bool hasAngle(const std::string& s) { return s.find_first_of("<>") != std::string::npos; }

bool blankLine(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

void dropBlankLines(std::vector<std::string>& lines) { std::erase_if(lines, blankLine); }

std::string normalisedTag(const std::string& tag) {
    std::string out;
    bool inName = true;
    for (char c : tag) {
        if (c == ' ' || c == '\t') {
            inName = false;
            if (!out.empty() && out.back() == ' ') continue;
            out += ' ';
            continue;
        }
        out += inName ? text::lowerCp1252(c) : c;
    }
    return out;
}

std::vector<std::string> splitAtBreaks(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const auto& line : lines) {
        for (auto& part : text::splitLines(line)) out.push_back(std::move(part));
        if (line.empty()) out.emplace_back();
    }
    return out;
}

struct Protected {
    std::string text;
    std::vector<std::string> blocks;
};

// Lifts the blocks whose inside must not change out of the text.
Protected protectBlocks(const std::string& text, const std::function<void(const std::string&)>& report) {
    const std::pair<const char*, const char*> pairs[] = {
        {"<style ", "</style>"}, {"<pre ", "</pre>"}, {"<pre>", "</pre>"}, {"<!--", "-->"}, {"<script ", "</script>"}};
    Protected p{text, {}};
    for (const auto& [open, close] : pairs) {
        size_t from = 0;
        while (true) {
            const size_t at = p.text.find(open, from);
            if (at == std::string::npos) break;
            const size_t end = p.text.find(close, at + std::string(open).size());
            if (end == std::string::npos) {
                report("\"" + std::string(close) + "\" fehlt in:" + p.text.substr(at, 500));
                break;
            }
            const size_t stop = end + std::string(close).size();
            const std::string placeholder = kMark + std::to_string(p.blocks.size()) + kMark;
            p.blocks.push_back(p.text.substr(at, stop - at));
            p.text.replace(at, stop - at, placeholder);
            from = at + placeholder.size();
        }
    }
    return p;
}

bool startTag(const std::string& line) {
    return line.size() > 2 && line[0] == '<' && line[1] != '/' && line.back() == '>' && line.find(' ') == std::string::npos;
}

// Puts short elements on one line: a start tag, one line, its end tag.
void joinShortElements(std::vector<std::string>& lines, const std::function<bool(const std::string&, std::string&)>& opens,
                       bool checkPre) {
    for (size_t i = 0; i + 2 < lines.size(); ++i) {
        const std::string first = text::trim(lines[i]);
        std::string closing;
        if (!opens(first, closing)) continue;
        if (text::trim(lines[i + 2]) != closing) continue;
        std::string joined = text::trimRight(lines[i]) + text::trim(lines[i + 1]) + text::trim(lines[i + 2]);
        if (checkPre && joined.find("<pre") != std::string::npos) continue;
        const size_t limit = joined.find("<tr") != std::string::npos ? 140 : 100;
        if (joined.size() >= limit) continue;
        size_t used = 3;
        if (i + 3 < lines.size() && lines[i + 3].find('<') == std::string::npos) {
            joined += text::trim(lines[i + 3]);
            used = 4;
        }
        lines[i] = joined;
        for (size_t k = 1; k < used; ++k) lines[i + k].clear();
    }
    std::erase_if(lines, [](const std::string& l) { return l.empty(); });
}

void blankAfterClosings(std::vector<std::string>& lines) {
    for (auto& line : lines) {
        for (const char* tag : {"</a>", "</span>", "</b>"}) {
            const size_t first = line.find(tag);
            if (first == std::string::npos) continue;
            const size_t after = first + std::string(tag).size();
            if (after < line.size() && std::string("!,.:;?").find(line[after]) != std::string::npos) continue;
            line = text::replaceAll(line, tag, std::string(tag) + " ");
            line = text::trimRight(line);
        }
    }
}

}  // namespace

bool isVoidTag(const std::string& tag) {
    if (text::startsWith(text::toLowerCp1252(tag.substr(0, 6)), "<col w")) return true;
    for (const char* v : {"<img ", "<meta ", "<hr ", "<link ", "<hr>", "<br>", "<input ", "<!"}) {
        if (text::startsWith(tag, v)) return true;
    }
    return false;
}

std::vector<std::string> tagTextLines(const std::string& text, bool normalise) {
    std::vector<std::string> lines;
    std::string run;
    const auto flush = [&] {
        for (const auto& part : text::splitLines(run)) {
            std::string t = text::trim(part);
            if (!t.empty()) lines.push_back(std::move(t));
        }
        run.clear();
    };
    for (size_t i = 0; i < text.size();) {
        const size_t gt = text[i] == '<' ? text.find('>', i) : std::string::npos;
        if (gt == std::string::npos) {
            run += text[i++];
            continue;
        }
        flush();
        std::string tag = text.substr(i, gt - i + 1);
        std::replace_if(tag.begin(), tag.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        lines.push_back(normalise ? normalisedTag(tag) : tag);
        i = gt + 1;
    }
    flush();
    return lines;
}

std::vector<std::string> indentByNesting(const std::string& selection,
                                         const std::function<void(const std::string&)>& report) {
    const Protected p = protectBlocks(selection, report);
    std::string work = p.text;
    const std::string firstLine = text::splitLines(work).empty() ? std::string() : text::splitLines(work).front();
    int depth = static_cast<int>(firstLine.find_first_not_of(' ') == std::string::npos ? firstLine.size()
                                                                                       : firstLine.find_first_not_of(' '));
    std::vector<std::string> lines = tagTextLines(work, true);

    for (bool changed = true; changed;) {
        changed = false;
        dropBlankLines(lines);
        for (size_t i = 0; i + 1 < lines.size(); ++i) {
            if (hasAngle(lines[i]) || hasAngle(lines[i + 1]) || lines[i].size() + lines[i + 1].size() >= 100) continue;
            lines[i] = text::trim(lines[i]) + " " + text::trim(lines[i + 1]);
            lines.erase(lines.begin() + static_cast<long>(i) + 1);
            changed = true;
        }
    }
    for (auto& line : lines) {
        if (text::startsWith(line, "<img ") && line.find(" alt=") == std::string::npos) {
            const size_t gt = line.find('>');
            if (gt != std::string::npos) line.replace(gt, 1, " alt=\"\">");
        }
    }
    dropBlankLines(lines);
    for (auto& line : lines) {
        if (line.size() > 7 && line.find("<br>") != std::string::npos) line = text::replaceAll(line, "<br>", "\n<br>\n");
        if (const size_t pre = line.find("<pre>"); pre != std::string::npos && pre >= 2) {
            line.insert(pre, "\n");
        } else if (const size_t preSpace = line.find("<pre "); preSpace != std::string::npos && preSpace >= 2) {
            line.insert(preSpace, "\n");
        }
    }
    lines = splitAtBreaks(lines);
    dropBlankLines(lines);

    for (size_t i = 0; i < lines.size(); ++i) {
        std::string& line = lines[i];
        for (size_t at = line.find('<'); at != std::string::npos && at + 1 < line.size(); at = line.find('<', at + 1)) {
            if (line[at + 1] == '/') {
                depth -= 2;
            } else if (!isVoidTag(line.substr(at))) {
                depth += 2;
            }
        }
        if (line.find("<body") != std::string::npos || depth > 20) depth = 0;
        const int voidExtra = isVoidTag(line) ? 2 : 0;
        int blanks = 0;
        if (depth < -2 && i + 4 < lines.size()) {
            blanks = depth + 20;
        } else if (line.find('<') != std::string::npos && line.find("</") == std::string::npos) {
            blanks = voidExtra + depth - 2;
        } else {
            blanks = voidExtra + depth;
        }
        line = std::string(static_cast<size_t>(std::max(blanks, 0)), ' ') + line;
    }

    joinShortElements(lines, [](const std::string& first, std::string& closing) {
        if (!startTag(first)) return false;
        closing = "</" + first.substr(1);
        return true;
    }, true);
    joinShortElements(lines, [](const std::string& first, std::string& closing) {
        if (text::startsWith(first, "<a ")) closing = "</a>";
        else if (text::startsWith(first, "<td>") || text::startsWith(first, "<td ")) closing = "</td>";
        else if (text::startsWith(first, "<span ")) closing = "</span>";
        else return false;
        return true;
    }, false);
    blankAfterClosings(lines);
    dropBlankLines(lines);
    // The trailing blank marks closing lines; the protected blocks keep their text exactly.
    for (auto& line : lines) {
        if (line.find('>') != std::string::npos && line.find('/') != std::string::npos) line += ' ';
    }
    std::string joined = text::joinLines(lines);
    for (size_t n = p.blocks.size(); n-- > 0;) {
        joined = text::replaceAll(joined, kMark + std::to_string(n) + kMark, "\r\n" + p.blocks[n]);
    }
    return text::splitLines(joined);
}

}  // namespace pictra::html
