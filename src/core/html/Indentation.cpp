#include "Indentation.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "common/Text.h"

namespace pictra::html {

namespace {

const std::string kMark = "\xA2\xA6\xA8\xAC\xAF";

// Thrown out of the passes when the user stops a long indentation.
struct Stopped {};

// Asks the caller every few thousand steps whether to go on; a 20 MB page has
// about two million lines, so the windows are repainted many times a second.
class Poll {
public:
    explicit Poll(const std::function<bool()>& keepGoing) : m_keepGoing(keepGoing) {}
    void step() {
        if (++m_steps % 4096 == 0) now();
    }
    void now() {
        if (m_keepGoing && !m_keepGoing()) throw Stopped{};
    }

private:
    const std::function<bool()>& m_keepGoing;
    size_t m_steps = 0;
};

bool hasAngle(const std::string& s) { return s.find_first_of("<>") != std::string::npos; }

bool blankLine(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

void dropBlankLines(std::vector<std::string>& lines) { std::erase_if(lines, blankLine); }

bool voidTagAt(std::string_view tag) {
    if (text::startsWith(text::toLowerCp1252(tag.substr(0, 6)), "<col w")) return true;
    for (const char* v : {"<img ", "<meta ", "<hr ", "<link ", "<hr>", "<br>", "<input ", "<!"}) {
        if (text::startsWith(tag, v)) return true;
    }
    return false;
}

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

std::vector<std::string> splitAtBreaks(std::vector<std::string>& lines, Poll& poll) {
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (auto& line : lines) {
        poll.step();
        if (line.find_first_of("\r\n") == std::string::npos) {
            out.push_back(std::move(line));
            continue;
        }
        for (auto& part : text::splitLines(line)) out.push_back(std::move(part));
    }
    return out;
}

std::vector<std::string> tagTextLines(const std::string& text, bool normalise, Poll& poll) {
    std::vector<std::string> lines;
    std::string run;
    const auto flush = [&] {
        for (const auto& part : text::splitLines(run)) {
            std::string t = text::trim(part);
            if (!t.empty()) lines.push_back(std::move(t));
        }
        run.clear();
    };
    // The next ">" at or after a position: once found it holds for every "<" before
    // it, and once missing it stays missing, so a page full of lone "<" stays linear.
    size_t knownGt = 0;
    bool gtSearched = false;
    for (size_t i = 0; i < text.size();) {
        size_t gt = std::string::npos;
        if (text[i] == '<') {
            if (!gtSearched || (knownGt != std::string::npos && knownGt < i)) {
                knownGt = text.find('>', i);
                gtSearched = true;
            }
            gt = knownGt;
        }
        if (gt == std::string::npos) {
            run += text[i++];
            continue;
        }
        poll.step();
        flush();
        std::string tag = text.substr(i, gt - i + 1);
        std::replace_if(tag.begin(), tag.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        lines.push_back(normalise ? normalisedTag(tag) : tag);
        i = gt + 1;
    }
    flush();
    return lines;
}

struct Protected {
    std::string text;
    std::vector<std::string> blocks;
};

std::string placeholder(size_t n) { return kMark + std::to_string(n) + kMark; }

// Lifts the blocks whose inside must not change out of the text. Each pair is one
// pass that copies the text once, whatever the number of blocks.
Protected protectBlocks(const std::string& text, const std::function<void(const std::string&)>& report, Poll& poll) {
    const std::pair<std::string_view, std::string_view> pairs[] = {
        {"<style ", "</style>"}, {"<pre ", "</pre>"}, {"<pre>", "</pre>"}, {"<!--", "-->"}, {"<script ", "</script>"}};
    Protected p{text, {}};
    for (const auto& [open, close] : pairs) {
        poll.now();
        const std::string& in = p.text;
        std::string out;
        size_t copied = 0;
        size_t from = 0;
        while (true) {
            const size_t at = in.find(open, from);
            if (at == std::string::npos) break;
            const size_t end = in.find(close, at + open.size());
            if (end == std::string::npos) {
                report("\"" + std::string(close) + "\" fehlt in:" + in.substr(at, 500));
                break;
            }
            poll.step();
            const size_t stop = end + close.size();
            out.append(in, copied, at - copied);
            out += placeholder(p.blocks.size());
            p.blocks.push_back(in.substr(at, stop - at));
            copied = stop;
            from = stop;
        }
        if (copied == 0) continue;
        out.append(in, copied);
        p.text = std::move(out);
    }
    return p;
}

// Each placeholder becomes a line break and its block. A block may hold the
// placeholders of blocks lifted before it (a style sheet inside a comment), which
// are put back in turn; a block never holds a later one's.
std::string restoreBlocks(const std::string& joined, const std::vector<std::string>& blocks, Poll& poll) {
    std::string out;
    out.reserve(joined.size());
    struct Frame {
        std::string_view text;
        size_t pos;
        size_t limit;  // placeholders below this number count here
    };
    // Own stack rather than recursion: a hostile text can chain blocks deeply.
    std::vector<Frame> frames{{joined, 0, blocks.size()}};
    while (!frames.empty()) {
        Frame& f = frames.back();
        const size_t at = f.text.find(kMark, f.pos);
        if (at == std::string::npos) {
            out.append(f.text.substr(f.pos));
            frames.pop_back();
            continue;
        }
        const size_t digits = at + kMark.size();
        size_t n = 0;
        const auto [end, ec] = std::from_chars(f.text.data() + digits, f.text.data() + f.text.size(), n);
        const size_t digitsEnd = static_cast<size_t>(end - f.text.data());
        const bool placeholderHere = ec == std::errc() && n < f.limit &&
                                     f.text.substr(digits, digitsEnd - digits) == std::to_string(n) &&
                                     f.text.substr(digitsEnd, kMark.size()) == kMark;
        if (!placeholderHere) {
            out.append(f.text.substr(f.pos, at + 1 - f.pos));
            f.pos = at + 1;
            continue;
        }
        poll.step();
        out.append(f.text.substr(f.pos, at - f.pos));
        out += "\r\n";
        f.pos = digitsEnd + kMark.size();
        const size_t limit = n;
        frames.push_back({blocks[n], 0, limit});
    }
    return out;
}

bool startTag(const std::string& line) {
    return line.size() > 2 && line[0] == '<' && line[1] != '/' && line.back() == '>' && line.find(' ') == std::string::npos;
}

// Puts short elements on one line: a start tag, one line, its end tag.
void joinShortElements(std::vector<std::string>& lines, const std::function<bool(const std::string&, std::string&)>& opens,
                       bool checkPre, Poll& poll) {
    for (size_t i = 0; i + 2 < lines.size(); ++i) {
        poll.step();
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

void blankAfterClosings(std::vector<std::string>& lines, Poll& poll) {
    for (auto& line : lines) {
        poll.step();
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

// One pass of joining neighbouring text lines: a joined line is not joined again
// in the same pass. Builds the list anew instead of erasing in the middle of it.
bool joinTextLines(std::vector<std::string>& lines, Poll& poll) {
    bool changed = false;
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        poll.step();
        if (i + 1 < lines.size() && !hasAngle(lines[i]) && !hasAngle(lines[i + 1]) &&
            lines[i].size() + lines[i + 1].size() < 100) {
            out.push_back(text::trim(lines[i]) + " " + text::trim(lines[i + 1]));
            ++i;
            changed = true;
        } else {
            out.push_back(std::move(lines[i]));
        }
    }
    lines = std::move(out);
    return changed;
}

std::vector<std::string> indent(const std::string& selection, const std::function<void(const std::string&)>& report,
                                Poll& poll) {
    const Protected p = protectBlocks(selection, report, poll);
    const std::string& work = p.text;
    const std::string firstLine = work.substr(0, work.find_first_of("\r\n"));
    int depth = static_cast<int>(firstLine.find_first_not_of(' ') == std::string::npos ? firstLine.size()
                                                                                       : firstLine.find_first_not_of(' '));
    std::vector<std::string> lines = tagTextLines(work, true, poll);

    for (bool changed = true; changed;) {
        poll.now();
        dropBlankLines(lines);
        changed = joinTextLines(lines, poll);
    }
    for (auto& line : lines) {
        poll.step();
        if (text::startsWith(line, "<img ") && line.find(" alt=") == std::string::npos) {
            const size_t gt = line.find('>');
            if (gt != std::string::npos) line.replace(gt, 1, " alt=\"\">");
        }
    }
    dropBlankLines(lines);
    for (auto& line : lines) {
        poll.step();
        if (line.size() > 7 && line.find("<br>") != std::string::npos) line = text::replaceAll(line, "<br>", "\n<br>\n");
        if (const size_t pre = line.find("<pre>"); pre != std::string::npos && pre >= 2) {
            line.insert(pre, "\n");
        } else if (const size_t preSpace = line.find("<pre "); preSpace != std::string::npos && preSpace >= 2) {
            line.insert(preSpace, "\n");
        }
    }
    lines = splitAtBreaks(lines, poll);
    dropBlankLines(lines);

    for (size_t i = 0; i < lines.size(); ++i) {
        poll.step();
        std::string& line = lines[i];
        const std::string_view view(line);
        for (size_t at = line.find('<'); at != std::string::npos && at + 1 < line.size(); at = line.find('<', at + 1)) {
            if (line[at + 1] == '/') {
                depth -= 2;
            } else if (!voidTagAt(view.substr(at))) {
                depth += 2;
            }
        }
        if (line.find("<body") != std::string::npos || depth > 20) depth = 0;
        const int voidExtra = voidTagAt(line) ? 2 : 0;
        int blanks = 0;
        if (depth < -2 && i + 4 < lines.size()) {
            blanks = depth + 20;
        } else if (line.find('<') != std::string::npos && line.find("</") == std::string::npos) {
            blanks = voidExtra + depth - 2;
        } else {
            blanks = voidExtra + depth;
        }
        line.insert(0, static_cast<size_t>(std::max(blanks, 0)), ' ');
    }

    joinShortElements(lines, [](const std::string& first, std::string& closing) {
        if (!startTag(first)) return false;
        closing = "</" + first.substr(1);
        return true;
    }, true, poll);
    joinShortElements(lines, [](const std::string& first, std::string& closing) {
        if (text::startsWith(first, "<a ")) closing = "</a>";
        else if (text::startsWith(first, "<td>") || text::startsWith(first, "<td ")) closing = "</td>";
        else if (text::startsWith(first, "<span ")) closing = "</span>";
        else return false;
        return true;
    }, false, poll);
    blankAfterClosings(lines, poll);
    dropBlankLines(lines);
    // The trailing blank marks closing lines; the protected blocks keep their text exactly.
    for (auto& line : lines) {
        if (line.find('>') != std::string::npos && line.find('/') != std::string::npos) line += ' ';
    }
    poll.now();
    const std::string joined = text::joinLines(lines);
    lines.clear();
    if (p.blocks.empty()) return text::splitLines(joined);
    return text::splitLines(restoreBlocks(joined, p.blocks, poll));
}

}  // namespace

bool isVoidTag(const std::string& tag) { return voidTagAt(tag); }

std::vector<std::string> tagTextLines(const std::string& text, bool normalise) {
    const std::function<bool()> always;
    Poll poll(always);
    return tagTextLines(text, normalise, poll);
}

std::vector<std::string> indentByNesting(const std::string& selection,
                                         const std::function<void(const std::string&)>& report) {
    const std::function<bool()> always;
    Poll poll(always);
    return indent(selection, report, poll);
}

std::optional<std::vector<std::string>> indentByNesting(const std::string& selection,
                                                        const std::function<void(const std::string&)>& report,
                                                        const std::function<bool()>& keepGoing) {
    Poll poll(keepGoing);
    try {
        return indent(selection, report, poll);
    } catch (const Stopped&) {
        return std::nullopt;
    }
}

}  // namespace pictra::html
