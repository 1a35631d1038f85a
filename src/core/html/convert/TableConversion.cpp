#include "TableConversion.h"

#include <algorithm>

#include "TableTokens.h"
#include "common/Codec.h"
#include "common/LargeBuffer.h"
#include "common/Text.h"
#include "tables/SheetFields.h"

namespace pictra::html::convert {

namespace {

constexpr const char* kBreak = "\r\n";


std::string lowerAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return s;
}

std::string rightTrimmedBlanks(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// The first "pattern" (lower case) in `s` from `from` on, in any case, without copying `s`.
size_t findAnyCase(const std::string& s, std::string_view pattern, size_t from = 0) {
    if (pattern.empty() || s.size() < pattern.size()) return std::string::npos;
    for (size_t i = from; i + pattern.size() <= s.size(); ++i) {
        size_t k = 0;
        while (k < pattern.size()) {
            char c = s[i + k];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
            if (c != pattern[k]) break;
            ++k;
        }
        if (k == pattern.size()) return i;
    }
    return std::string::npos;
}

void eraseFirst(std::string& s, const std::string& what) {
    const size_t at = s.find(what);
    if (at != std::string::npos) s.erase(at, what.size());
}

// Asks `keepGoing` once every 1024 rows, so that polling costs nothing against the work.
class Poll {
public:
    explicit Poll(const KeepGoing& keepGoing) : m_keepGoing(keepGoing) {}
    bool stop() { return m_keepGoing && (++m_count & 1023U) == 0 && !m_keepGoing(); }

private:
    const KeepGoing& m_keepGoing;
    unsigned m_count = 0;
};

// Finds "<name" as a whole tag name ("<tr" but not "<track") in lower-cased
// text, moving only forward, so that a row of many cells is searched once.
class TagFinder {
public:
    TagFinder(const std::string& lower, std::string name) : m_lower(lower), m_pattern("<" + std::move(name)) {}
    size_t from(size_t start) {
        if (m_searched && m_cachedFrom <= start && (m_cached == std::string::npos || m_cached >= start)) return m_cached;
        size_t p = start;
        while ((p = m_lower.find(m_pattern, p)) != std::string::npos) {
            const size_t after = p + m_pattern.size();
            if (after >= m_lower.size() || m_lower[after] == '>' || m_lower[after] == ' ' || m_lower[after] == '/' ||
                m_lower[after] == '\t') {
                break;
            }
            ++p;
        }
        m_searched = true;
        m_cachedFrom = start;
        m_cached = p;
        return p;
    }

private:
    const std::string& m_lower;
    std::string m_pattern;
    bool m_searched = false;
    size_t m_cachedFrom = 0;
    size_t m_cached = std::string::npos;
};

// The lines of the table between the "<table" tag and "</table"; nullopt for a table in a table.
std::optional<std::vector<std::string>> tableLines(const std::string& selection) {
    const std::vector<std::string> lines = text::splitLines(text::replaceAll(selection, "&nbsp;", ""));
    std::vector<std::string> collected;
    size_t i = 0;
    while (i < lines.size() && findAnyCase(lines[i], "<table") == std::string::npos) ++i;
    if (i == lines.size()) return collected;
    std::string first = lines[i];
    const size_t tag = findAnyCase(first, "<table");
    const size_t close = first.find('>', tag);
    first = close == std::string::npos ? std::string() : first.substr(close + 1);
    for (size_t n = i; n < lines.size(); ++n) {
        const std::string& line = n == i ? first : lines[n];
        const size_t end = findAnyCase(line, "</table");
        const size_t nested = findAnyCase(line, "<table");
        if (nested != std::string::npos && nested < end) return std::nullopt;
        std::string piece = text::trim(end == std::string::npos ? line : line.substr(0, end));
        if (!piece.empty()) collected.push_back(std::move(piece));
        if (end != std::string::npos) break;
    }
    return collected;
}

// Lines whose last tag is still open at their end are joined with the next,
// so that a tag written over two lines is read as one.
std::vector<std::string> joinOpenTags(const std::vector<std::string>& lines) {
    std::vector<std::string> joined;
    bool open = false;
    for (const std::string& line : lines) {
        if (open) {
            joined.back() += ' ';
            joined.back() += line;
        } else {
            joined.push_back(line);
        }
        const size_t lt = line.rfind('<');
        const size_t gt = line.rfind('>');
        if (lt != std::string::npos || gt != std::string::npos) {
            open = lt != std::string::npos && (gt == std::string::npos || lt > gt);
        }
    }
    return joined;
}

}  // namespace

Converted starToHtml(const std::string& selection, const KeepGoing& keepGoing) {
    if (selection.find('*') == std::string::npos) {
        return {std::nullopt,
                "1. Text muss ausgewählt sein.\r2. Ausgewählter Text muss mit \"* ....\" beginnen!"};
    }
    std::string s = selection;
    eraseFirst(s, "<pre>");
    eraseFirst(s, "</pre>");
    const tables::Grid grid = tables::readStarTable(text::trim(s));
    // A marker line of a single star gives rows without cells: no table either.
    if (grid.empty() || grid.front().empty()) return {std::nullopt, "Keine Tabelle! (1. Zeile: \"*  ...\")"};
    const size_t columns = grid.front().size();
    Poll poll(keepGoing);
    std::string out;
    // The cells' text and their tags: one buffer for the whole table.
    common::reserveLarge(out, selection.size() + grid.size() * (columns * 15 + 16) + 64);
    out += "<table border=1>";
    for (const auto& row : grid) {
        if (poll.stop()) return {};
        out += kBreak;
        out += "  <tr>";
        for (size_t c = 0; c < columns; ++c) {
            const std::string_view cell = c < row.size() ? std::string_view(row[c]) : std::string_view();
            const size_t end = cell.find_last_not_of(' ');
            if (end == std::string_view::npos) {
                out += "<td>&nbsp;</td>";
            } else {
                out += "<td>";
                out.append(cell.substr(0, end + 1));
                out += "</td>";
            }
        }
        out += "</tr>";
    }
    out += kBreak;
    out += "</table>";
    return {out, ""};
}

bool startsWithTable(const std::string& selection) {
    return lowerAscii(selection.substr(0, 50)).find("<table") != std::string::npos;
}

ParsedTable readHtmlTable(const std::string& selection, const KeepGoing& keepGoing) {
    const auto lines = tableLines(selection);
    if (!lines) return {{}, std::string(kTooComplicated) + "\r(Eine Tabelle in der Tabelle)"};
    // Tokens are walked line by line as they come, so that only one line's worth is ever held.
    TableTokens tokens;
    tables::Grid grid;
    size_t columns = 0;
    long cell = -1;
    Poll poll(keepGoing);
    for (const std::string& line : joinOpenTags(*lines)) {
        tokens.tokens.clear();
        appendLineTokens(line, tokens);
        if (tokens.unclosedTag) {
            return {{}, std::string(kTooComplicated) + "\r(Ein \"<tr\"- oder \"<td\"-Tag ist nicht mit \">\" geschlossen)"};
        }
        for (const std::string& t : tokens.tokens) {
            if (poll.stop()) return {{}, "", true};
            if (t == "<tr>") {
                grid.emplace_back();
                cell = -1;
            } else if (t == "<td>") {
                ++cell;
                columns = std::max(columns, static_cast<size_t>(cell) + 1);
            } else if (t != "</tr>" && t != "</td>" && cell >= 0) {
                if (grid.empty()) return {{}, kTooComplicated};
                auto& row = grid.back();
                if (row.size() <= static_cast<size_t>(cell)) row.resize(static_cast<size_t>(cell) + 1);
                // A cell written over several lines keeps all of them.
                std::string& target = row[static_cast<size_t>(cell)];
                if (!target.empty()) target += ' ';
                target += t;
            }
        }
    }
    if (grid.empty() || columns == 0) return {{}, kTooComplicated};
    for (auto& row : grid) row.resize(columns);
    return {std::move(grid), ""};
}

std::string starTableBlock(const tables::Grid& grid) {
    size_t columns = 0;
    for (const auto& row : grid) columns = std::max(columns, row.size());
    std::vector<size_t> widths(columns, 0);
    for (const auto& row : grid) {
        for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], rightTrimmedBlanks(row[c]).size());
    }
    std::string out = "<pre>\r\n*";
    for (size_t w : widths) {
        if (w > 0) out += std::string(w, ' ') + "*";
    }
    out.pop_back();
    for (const auto& row : grid) {
        out += kBreak;
        for (size_t c = 0; c < columns; ++c) {
            if (widths[c] == 0) continue;
            std::string cell = c < row.size() ? rightTrimmedBlanks(row[c]) : std::string();
            cell.resize(widths[c] + 1, ' ');
            out += cell;
        }
    }
    out += "\r\n</pre>";
    return out;
}

std::string blankTags(const std::string& text) {
    std::string out = text;
    size_t open = std::string::npos;
    for (size_t i = 0; i < out.size(); ++i) {
        const char c = out[i];
        if (c == '\r' || c == '\n') {
            open = std::string::npos;  // a "<" in running text ("3 < 5") is no tag
        } else if (c == '<') {
            open = i;
        } else if (c == '>' && open != std::string::npos) {
            std::fill(out.begin() + static_cast<long>(open), out.begin() + static_cast<long>(i) + 1, ' ');
            open = std::string::npos;
        }
    }
    return out;
}

Converted layoutTable(const std::string& selection, const KeepGoing& keepGoing) {
    std::vector<std::string> lines = text::splitLines(text::trim(selection));
    if (lines.size() < 2) return {std::nullopt, "Bitte die Tabelle markieren!"};
    if (lowerAscii(lines.front()).find("<table") == std::string::npos) {
        return {std::nullopt, "Die erste Zeile muss mit \"<table\" beginnen!"};
    }
    if (lowerAscii(lines.back()).find("</table") == std::string::npos) {
        return {std::nullopt, "Die letze Zeile  \"</table\" enthalten"};
    }
    std::string t;
    for (const auto& line : lines) t += text::trim(line) + " ";
    const std::string lower = lowerAscii(t);
    TagFinder table(lower, "table");
    if (table.from(table.from(0) + 1) != std::string::npos) {
        return {std::nullopt, "Abbruch: Eine Tabelle in der Tabelle kann so nicht strukturiert werden!"};
    }
    TagFinder rowStart(lower, "tr"), rowEnd(lower, "/tr"), td(lower, "td"), tdEnd(lower, "/td"), th(lower, "th"),
        thEnd(lower, "/th");
    const auto tagEnd = [&](size_t at) {
        const size_t gt = t.find('>', at);
        return gt == std::string::npos ? t.size() : gt + 1;
    };
    std::string out = "<table border=1><!-- =================== Tabelle ===================== -->\r\n"
                      "                <!-- <tr>(Beginn) neue Zeile  </tr> (Ende) -->\r\n"
                      "                <!-- <td>(Beginn) neue Spalte </td> (Ende) -->\r\n";
    size_t pos = 0;
    int rows = 0;
    Poll poll(keepGoing);
    while (true) {
        if (poll.stop()) return {};
        const size_t tr = rowStart.from(pos);
        if (tr == std::string::npos) break;
        const size_t contentFrom = tagEnd(tr);
        const size_t close = rowEnd.from(contentFrom);
        if (close == std::string::npos) return {std::nullopt, "Abbruch: Kein passendes \"</tr>\" vorhanden!"};
        out += "  " + t.substr(tr, contentFrom - tr) + kBreak;
        size_t cellPos = contentFrom;
        while (true) {
            const size_t d = td.from(cellPos);
            const size_t h = th.from(cellPos);
            const size_t at = std::min(d, h);
            if (at >= close) break;
            const bool header = h < d;
            const size_t from = tagEnd(at);
            const size_t end = header ? thEnd.from(from) : tdEnd.from(from);
            if (from > close || end == std::string::npos || end > close) {
                const std::string rest = text::trim(t.substr(at, close - at));
                return {std::nullopt, " in \"" + codec::cp1252ToUtf8(rest) + "\" fehlt \" ein \"" +
                                          (header ? "</th>" : "</td>") + "\""};
            }
            std::string content = text::trim(t.substr(from, end - from));
            if (content.empty()) content = "-";
            const size_t after = tagEnd(end);
            out += "    " + t.substr(at, from - at) + content + t.substr(end, after - end) + kBreak;
            cellPos = after;
        }
        const size_t after = tagEnd(close);
        out += "  " + t.substr(close, after - close) + kBreak;
        pos = after;
        ++rows;
    }
    if (rows == 0) return {std::nullopt, "Abbruch: Kein \"<tr>\" in der Tabelle gefunden!"};
    out += "</table><!-- ================ Ende Tabelle =================== -->\r\n";
    return {out, ""};
}

std::string wrapInList(const std::vector<std::string>& lines) {
    std::string out = "<ul>\r\n";
    for (const auto& line : lines) out += "<li>" + line + "</li>\r\n";
    out += "</ul>\r\n";
    return out;
}

std::string breakBeforeLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) out += "<br> " + line + kBreak;
    return out;
}

std::string spaceBeforeLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += text::startsWith(line, "<br>") ? "<br> &nbsp;" + line.substr(4) : "&nbsp; " + line;
        out += kBreak;
    }
    return out;
}

namespace {

// A blank between every two characters: header cells spread out.
void appendSpread(std::string& out, std::string_view cell) {
    for (size_t i = 0; i < cell.size(); ++i) {
        if (i > 0) out += ' ';
        out += cell[i];
    }
}

// Words longer than 11 characters broken into pieces of 11, appended to `out`.
void appendBrokenWords(std::string& out, std::string_view cell) {
    size_t i = 0;
    while (i < cell.size()) {
        if (cell[i] == ' ') {
            out += ' ';
            ++i;
            continue;
        }
        size_t end = cell.find(' ', i);
        if (end == std::string_view::npos) end = cell.size();
        for (size_t piece = i; piece < end; piece += 11) {
            if (piece > i) out += ' ';
            out.append(cell, piece, std::min<size_t>(11, end - piece));
        }
        i = end;
    }
}

bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view trimmedView(std::string_view s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && isBlankOrControl(s[b])) ++b;
    while (e > b && isBlankOrControl(s[e - 1])) --e;
    return s.substr(b, e - b);
}

}  // namespace

Converted csvToTable(const std::string& text, const KeepGoing& keepGoing) {
    std::string out;
    // Cells grow by their tags: about four times the input, so one allocation serves a usual file.
    common::reserveLarge(out, text.size() * 5 + 64);
    out += "<table border=\"1\">\r\n";
    bool first = true;
    size_t number = 0;
    std::vector<std::string> cells;
    Poll poll(keepGoing);
    const std::string_view all(text);
    for (size_t from = 0; from < all.size();) {
        if (poll.stop()) return {};
        size_t end = all.find_first_of("\r\n", from);
        if (end == std::string_view::npos) end = all.size();
        const std::string_view line = all.substr(from, end - from);
        from = end < all.size() && all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n' ? end + 2 : end + 1;
        ++number;
        if (trimmedView(line).empty()) continue;
        bool unbalanced = false;
        const size_t count = tables::splitSeparated(line, ';', cells, &unbalanced);
        if (unbalanced) {
            return {std::nullopt, "In Zeile " + std::to_string(number) +
                                      " fehlt ein schließendes Anführungszeichen (\"). Die Datei bleibt unverändert."};
        }
        out += "  <tr>";
        for (size_t k = 0; k < count; ++k) {
            std::string& cell = cells[k];
            if (cell.find_first_of("\x84\x93\"") != std::string::npos) {
                std::erase_if(cell, [](char c) { return c == '\x84' || c == '\x93' || c == '"'; });
            }
            if (first) {
                out += "    <th>";
                appendSpread(out, trimmedView(cell));
                out += "</th>\r\n";
            } else {
                out += "    <td>";
                appendBrokenWords(out, trimmedView(cell));
                out += "</td>\r\n";
            }
        }
        out += "</tr>\r\n";
        first = false;
    }
    if (first) return {std::nullopt, "Die Datei enthält keine Zeile mit Daten."};
    out += "</table>";
    return {std::move(out), ""};
}

std::string htmlFileName(const std::string& fileName) {
    const size_t slash = fileName.find_last_of('/');
    const size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return fileName + ".html";
    return fileName.substr(0, dot) + ".html";
}

std::string wikiTable(const std::vector<std::string>& lines) {
    std::string out = "{| class=\"wikitable\"\r\n";
    for (const auto& line : lines) {
        if (text::trim(line).empty()) continue;
        out += "|-\r\n|" + rightTrimmedBlanks(line) + kBreak;
    }
    out += "|}\r\n";
    return out;
}

std::string wikiFileName(const std::string& fileName) {
    return fileName.find("wikitable") == std::string::npos ? fileName + "wikitable" : fileName;
}

std::vector<std::string> insertWikiColumn(std::vector<std::string> lines, size_t from, size_t column) {
    for (size_t i = from; i < lines.size(); ++i) {
        std::string& line = lines[i];
        if (text::trim(line) == "|}") break;
        if (text::startsWith(line, "|-")) continue;
        // A caret past the line end puts the separator there, not at the end.
        if (line.size() < column) line.resize(column, ' ');
        line.insert(column, "||");
        if (line[0] != '|' && line[0] != '!') line.insert(0, "|");
    }
    return lines;
}

}  // namespace pictra::html::convert
