#include "HtmlRewrites.h"

#include <algorithm>

#include "common/PathNames.h"
#include "common/Text.h"
#include "shell/editing/LineWrap.h"

namespace pictra::html {

namespace {

bool blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

// Calls `each` for every line with whether it lies inside a "<pre>" block.
template <class Each>
void walkPre(const Lines& lines, Each each) {
    bool inPre = false;
    for (const std::string& line : lines) {
        const bool opens = line.find("<pre") != std::string::npos;
        const bool closes = line.find("</pre") != std::string::npos;
        if (opens) inPre = true;
        each(line, inPre);
        if (closes) inPre = false;
    }
}

std::string singleBlanks(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == ' ' && !out.empty() && out.back() == ' ') continue;
        out += c;
    }
    return out;
}

bool followedByEnd(const std::string& s, size_t at) { return at >= s.size() || s[at] == '>' || s[at] == ' '; }

struct BlockRules {
    std::vector<std::string> openings;  // texts that may start the block
    std::string closing;
    std::vector<std::string> lineTags;  // tags that start a line
    std::vector<std::string> aloneTags; // lines beginning with these stand alone
    std::string itemTag;                // lines beginning with it are set in by two blanks
    const char* wrongPlace;
    const char* nested;
};

Structured structureBlockAt(const std::string& text, int caret, const BlockRules& rules) {
    const size_t from = text.find('<', static_cast<size_t>(std::max(caret, 0)));
    const std::string rest = from == std::string::npos ? std::string() : text.substr(from);
    const bool opensHere = std::any_of(rules.openings.begin(), rules.openings.end(),
                                       [&](const std::string& o) { return text::startsWith(rest, o); });
    if (!opensHere) return {text, rules.wrongPlace};
    const size_t end = rest.find(rules.closing);
    if (end == std::string::npos) return {text, "\"" + rules.closing + "\" fehlt!"};
    const std::string inner = rest.substr(6, end > 6 ? end - 6 : 0);
    for (const auto& o : rules.openings) {
        if (inner.find(o) != std::string::npos) return {text, rules.nested};
    }
    std::string block = rest.substr(0, end + rules.closing.size());
    // Each structuring tag starts a line.
    std::string broken;
    for (size_t i = 0; i < block.size(); ++i) {
        bool starts = false;
        for (const auto& tag : rules.lineTags) {
            if (block.compare(i, tag.size(), tag) == 0 && followedByEnd(block, i + tag.size())) starts = true;
        }
        if (starts && !broken.empty() && broken.back() != '\n') {
            if (broken.back() == ' ' && (broken.size() == 1 || broken[broken.size() - 2] == '\n')) {
                broken.pop_back();
            } else {
                broken += "\r\n";
            }
        }
        broken += block[i];
    }
    Lines lines;
    walkPre(text::splitLines(broken), [&](const std::string& line, bool inPre) {
        if (inPre) {
            lines.push_back(line);
        } else if (!blank(line)) {
            lines.push_back(singleBlanks(text::trim(line)));
        }
    });
    Lines assembled;
    walkPre(lines, [&](const std::string& line, bool inPre) {
        const bool alone = inPre || std::any_of(rules.aloneTags.begin(), rules.aloneTags.end(),
                                                [&](const std::string& t) { return text::startsWith(line, t); });
        if (alone) {
            assembled.push_back(line);
        } else if (text::startsWith(line, rules.itemTag)) {
            assembled.push_back("  " + line);
        } else if (!assembled.empty() && assembled.back().size() + line.size() < 121 &&
                   !std::any_of(rules.aloneTags.begin(), rules.aloneTags.end(),
                                [&](const std::string& t) { return text::startsWith(text::trim(assembled.back()), t); })) {
            assembled.back() += line;
        } else {
            assembled.push_back("    " + line);
        }
    });
    const std::string table = text::trim(text::joinLines(assembled));
    return {text.substr(0, from) + table + text.substr(from + block.size()), {}};
}

}  // namespace

Lines wrapLongLines(const Lines& lines) { return linewrap::wrapEach(lines, 120); }

Lines indentTextOutsidePre(const Lines& lines) {
    Lines out;
    walkPre(lines, [&](const std::string& line, bool inPre) {
        const bool plain = line.find_first_of("<>") == std::string::npos && !line.empty();
        out.push_back(!inPre && plain ? "   " + text::trim(line) : line);
    });
    return out;
}

Structured structureTableAt(const std::string& text, int caret) {
    static const BlockRules rules{{"<table>", "<table "},
                                "</table>",
                                {"<table", "</table", "<tbody", "</tbody", "<tr", "</tr", "<td", "</td", "<th", "</th",
                                 "<pre", "</pre"},
                                {"<table", "</table", "<tbody", "</tbody"},
                                "<tr",
                                "Cursor muss direkt vor \"<table\" stehen!",
                                "Verschachtelte Tabellen sind zu kompliziert!"};
    return structureBlockAt(text, caret, rules);
}

Structured structureListAt(const std::string& text, int caret) {
    const size_t from = text.find('<', static_cast<size_t>(std::max(caret, 0)));
    const bool ordered = from != std::string::npos && text.compare(from, 3, "<ol") == 0;
    const std::string name = ordered ? "ol" : "ul";
    const BlockRules rules{{"<" + name + ">", "<" + name + " "},
                         "</" + name + ">",
                         {"<" + name, "</" + name, "<li", "</li", "<pre", "</pre"},
                         {"<" + name, "</" + name},
                         "<li",
                         "Cursor muss direkt vor \"<ul>\" oder \"<ol>\" stehen!",
                         "Verschachtelte Listen sind zu kompliziert!"};
    return structureBlockAt(text, caret, rules);
}

std::string trimElementContents(const std::string& text, const std::string& name) {
    std::string out = text;
    const std::string close = "</" + name;
    for (size_t end = out.find(close); end != std::string::npos; end = out.find(close, end + 1)) {
        if (!followedByEnd(out, end + close.size())) continue;
        size_t start = std::string::npos;
        for (size_t p = out.rfind("<" + name, end); p != std::string::npos; p = p == 0 ? std::string::npos : out.rfind("<" + name, p - 1)) {
            const size_t after = p + name.size() + 1;
            if (after < out.size() && (out[after] == '>' || out[after] == ' ' || out[after] == '\r')) {
                start = p;
                break;
            }
        }
        if (start == std::string::npos) continue;
        const size_t gt = out.find('>', start);
        if (gt == std::string::npos || gt > end) continue;
        std::string content = text::trim(out.substr(gt + 1, end - gt - 1));
        if (content.empty()) content = " ";
        out.replace(gt + 1, end - gt - 1, content);
        end = gt + 1 + content.size();
    }
    return out;
}

std::string cellsToHeaders(const std::string& text) {
    return text::replaceAll(text::replaceAll(text, "<td", "<th"), "</td", "</th");
}

Lines paragraphsFromBreaks(const Lines& lines) {
    if (lines.size() < 3) return lines;
    Lines out;
    const auto paragraph = [&out](const std::string& line) {
        const std::string indent(line.find("<br>"), ' ');
        out.push_back(indent + "</p>");
        out.push_back(indent + "<p>");
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string t = text::trim(lines[i]);
        if (t == "<br><br>" || t == "<br> <br>" || t == "<br>  <br>") {
            paragraph(lines[i]);
        } else if (t == "<br>" && i + 1 < lines.size() && text::trim(lines[i + 1]) == "<br>") {
            paragraph(lines[i]);
            ++i;
        } else {
            out.push_back(lines[i]);
        }
    }
    return out;
}

std::string wrapInClassElement(const Lines& lines, const std::string& element) {
    std::string out = "<" + element + " class=\"\">\r\n";
    for (const auto& line : lines) out += "  " + line + "\r\n";
    return out + "</" + element + ">";
}

std::string blankParagraphTags(std::string text) {
    const size_t stop = text.size() > 5 ? text.size() - 5 : 0;
    for (size_t at = text.find("<p "); at != std::string::npos && at < stop; at = text.find("<p ", at)) {
        const size_t gt = text.find('>', at);
        const size_t last = gt == std::string::npos ? text.size() - 1 : gt;
        std::fill(text.begin() + static_cast<long>(at), text.begin() + static_cast<long>(last + 1), ' ');
    }
    for (size_t at = text.find("</p>"); at != std::string::npos && at < stop; at = text.find("</p>", at)) {
        text.replace(at, 4, "    ");
    }
    return text;
}

std::string blankDeclarations(std::string text) {
    const size_t stop = text.size() > 5 ? text.size() - 5 : 0;
    for (size_t at = text.find("<!"); at != std::string::npos && at < stop; at = text.find("<!", at)) {
        const size_t gt = text.find('>', at);
        const size_t last = gt == std::string::npos ? text.size() - 1 : gt;
        std::fill(text.begin() + static_cast<long>(at), text.begin() + static_cast<long>(last + 1), ' ');
    }
    return text;
}

std::string blankRowAndCellAttributes(std::string text) {
    const size_t stop = text.size() > 6 ? text.size() - 6 : 0;
    for (size_t at = 0; at < stop; ++at) {
        if (text.compare(at, 4, "<td ") != 0 && text.compare(at, 4, "<tr ") != 0) continue;
        text[at + 3] = '>';
        for (size_t i = at + 4; i < text.size() && text[i] != '>'; ++i) text[i] = ' ';
        const size_t gt = text.find('>', at + 4);
        if (gt != std::string::npos) text[gt] = ' ';
    }
    return text;
}

Lines singleBlanksOutsidePre(const Lines& lines) {
    Lines out;
    walkPre(lines, [&](const std::string& line, bool inPre) { out.push_back(inPre ? line : singleBlanks(line)); });
    return out;
}

Lines removeBlanksFrom(const Lines& lines, int column) {
    Lines out;
    const size_t keep = static_cast<size_t>(std::max(column - 1, 0));
    for (const auto& line : lines) {
        if (line.size() <= keep) {
            out.push_back(line);
            continue;
        }
        std::string tail = line.substr(keep);
        std::erase(tail, ' ');
        out.push_back(line.substr(0, keep) + tail);
    }
    return out;
}

Lines boldWeekdays(const Lines& lines) {
    Lines out;
    for (std::string line : lines) {
        if (line.find("<b>") != std::string::npos) {
            out.push_back(line);
            continue;
        }
        for (const char* day : {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"}) {
            const size_t at = line.find(day);
            if (at == std::string::npos) continue;
            line.insert(at + std::string(day).size(), "</b>");
            line.insert(at, "<b>");
        }
        const size_t uhr = line.find("Uhr");
        if (line.find("Uhr</br>") == std::string::npos && uhr != std::string::npos && uhr >= 4) {
            line.insert(uhr + 3, "</b>");
            line = "<br><b>" + line;
        }
        out.push_back(line);
    }
    return out;
}

Lines compressCss(const Lines& lines) {
    Lines out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find('}') != std::string::npos) {
            out.push_back(lines[i]);
            continue;
        }
        if (blank(lines[i])) continue;
        std::string joined = text::trimRight(lines[i]);
        while (joined.find('}') == std::string::npos && i + 1 < lines.size()) joined += " " + text::trim(lines[++i]);
        joined = text::replaceAll(text::replaceAll(text::replaceAll(joined, " : ", ":"), " }", "}"), ", ", ",");
        out.push_back(joined);
    }
    return out;
}

Structured addDescription(const std::string& text, const std::string& description) {
    if (text.find("name=\"description\"") != std::string::npos) return {text, kMsgDescriptionExists};
    const size_t title = text.find("</title>");
    if (title == std::string::npos) return {text, kMsgNoTitle};
    std::string out = text;
    out.insert(title + 8, "\r\n       <meta name=\"Description\" CONTENT=\"" + description + "\">");
    return {out, {}};
}

namespace {

// "âwort" or "âmehrere Wörterâ" framed by the start and end texts.
std::string markup(std::string line, char marker, const std::string& open, const std::string& close) {
    for (size_t at = line.find(marker); at != std::string::npos; at = line.find(marker, at)) {
        const size_t second = line.find(marker, at + 1);
        if (second != std::string::npos) {
            const std::string inner = line.substr(at + 1, second - at - 1);
            line.replace(at, second - at + 1, open + inner + close);
            at += open.size() + inner.size() + close.size();
        } else {
            const size_t end = std::min(line.find(' ', at + 1), line.size());
            const std::string word = line.substr(at + 1, end - at - 1);
            line.replace(at, end - at, open + word + close);
            at += open.size() + word.size() + close.size();
        }
    }
    return line;
}

}  // namespace

Lines wikiToHtml(const Lines& input) {
    Lines lines;
    for (std::string line : input) {
        line = text::trimRight(text::replaceAll(line, "\xEE", "  <br>&nbsp;&nbsp;&nbsp;&nbsp;"));
        if (line.empty() && !lines.empty() && lines.back().empty()) continue;
        lines.push_back(line);
    }
    for (std::string& line : lines) {
        bool heading = false;
        for (int n = 6; n >= 1 && !heading; --n) {
            const std::string level = std::to_string(n);
            if (line.size() > static_cast<size_t>(n - 1) && line.compare(0, static_cast<size_t>(n), std::string(static_cast<size_t>(n), '^')) == 0) {
                line = "<h" + level + " align=\"center\">" + line.substr(static_cast<size_t>(n)) + "</h" + level + ">";
                heading = true;
            } else if (line.size() > static_cast<size_t>(n - 1) && line.compare(0, static_cast<size_t>(n), std::string(static_cast<size_t>(n), '!')) == 0) {
                line = "<h" + level + ">" + line.substr(static_cast<size_t>(n)) + "</h" + level + ">";
                heading = true;
            }
        }
        if (!heading && text::startsWith(line, "\xFB")) line = "<div style=\"text-align:right;\">" + line.substr(1) + "</div>";
        if (line.empty()) line = "   <br><br>  ";
        line = markup(line, '\xE2', "<b>", "</b>");
        line = markup(line, '\xEA', "<span  style=\"color:#FF0000;\">", "</span>");
    }
    return lines;
}

std::string clipboardWithBreaks(const std::string& clipboard) {
    Lines lines;
    for (const auto& line : text::splitLines(clipboard)) {
        if (!lines.empty()) lines.push_back("<br> &nbsp; &nbsp; ");
        lines.push_back(line);
    }
    const std::string converted = text::trim(text::joinLines(wikiToHtml(lines)));
    return text::joinLines(linewrap::wrapEach(text::splitLines(converted), 80));
}

std::string playerObject(bool video) {
    const std::string file = video ? "film.flv" : "musik.mp3";
    const std::string player = video ? "flvplayer.swf" : "mp3player.swf";
    const std::string size = video ? "width=\"320\" height=\"260\"" : "width=\"200\" height=\"20\"";
    return "<object type=\"application/x-shockwave-flash\" data=\"" + player + "?file=" + file + "\" " + size +
           ">\r\n  <param name=\"movie\" value=\"" + player + "?file=" + file + "\">\r\n  <param name=\"wmode\" "
           "value=\"transparent\">\r\n</object>";
}

std::string pageSkeleton(const std::string& date) {
    const char* lines[] = {
        kDoctype,
        "<html>",
        "  <head>",
        nullptr,  // the title
        "    <meta http-equiv=content-type content=\"text/html; charset=iso-8859-1\">",
        "     <style type=\"text/css\">",
        "       body {font-family: Arial, Helvetica, sans-serif; margin-left: 10%; margin-right:10%;}",
        "       h1, h2, h3, h4, h5, h6 {color:#501080;}",
        "       table, tr, td {border-collapse: collapse;}",
        "       a:link{color:#0000FF;}",
        "       a:visited{color:#660099;}",
        "       a:hover {background-color:#d60093;color:#FFFFFF;border-bottom:1px dotted #FFFFFF;}",
        "       img {padding-top:0.5em; border: 0;}",
        "    </style>",
        "  </head>",
        "<body>",
        "<a href=\"\">Start</a>&nbsp; &nbsp; &nbsp;  <a href=\"\">Unterseite</a>",
        "   &nbsp; &nbsp; &nbsp;  <a href=\"javascript:history.back()\">zur\xFC" "ck</a>",
    };
    std::string out;
    for (const char* line : lines) out += (line ? std::string(line) : "    <title>" + date + "</title>") + "\r\n";
    return out;
}

std::string embedInSkeleton(const std::string& text, const std::string& date) {
    std::string out = pageSkeleton(date) + "\r\n\r\n\r\n" + text;
    if (text::toLowerCp1252(text).find("</body") == std::string::npos) out += "\r\n\r\n\r\n</body>\r\n</html>";
    return out;
}

std::string embeddedFileName(const std::string& fileName) {
    if (text::toLowerCp1252(fileName).find(".htm") != std::string::npos) return fileName;
    const std::string extension = pathnames::extensionOf(fileName);
    return fileName.substr(0, fileName.size() - extension.size()) + "z.html";
}

std::optional<std::string> stampedDoctype(const std::string& text) {
    if (text.find(kDoctype) != std::string::npos) return std::nullopt;
    const size_t doctype = text.find("<!DOCTYPE");
    if (doctype == std::string::npos) return std::string(kDoctype) + "\r\n" + text;
    const size_t firstBreak = std::min(text.find_first_of("\r\n"), text.size());
    if (doctype >= firstBreak) return std::nullopt;
    // Only the old declaration goes: what else stands in the first line (a whole
    // page written in one line) stays.
    const size_t end = text.find('>', doctype);
    const size_t stop = end == std::string::npos ? firstBreak : std::min(end + 1, firstBreak);
    return text.substr(0, doctype) + kDoctype + text.substr(stop);
}

}  // namespace pictra::html
