#include "Exports.h"

#include <algorithm>
#include <array>
#include <map>

#include "common/Text.h"
#include "tables/SheetFields.h"
#include "tables/StarTable.h"

namespace pictra::html::exports {

const char* const kTimetableFormat =
    "Erwartet wird die Exportdatei von Untis (zum Beispiel GPU001.TXT): eine Unterrichtsstunde je Zeile, die "
    "Felder durch Kommas getrennt:\r"
    "1 Unterrichtsnummer, 2 Klasse, 3 Lehrer, 4 Fach, 5 Raum, 6 Tag (1 = Montag), 7 Stunde\r"
    "Beispiel: 12,\"7a\",\"Mü\",\"M\",\"R101\",1,3\r\r"
    "Daraus wird eine HTML-Datei mit den Stundenplänen, die jeder Browser lesen kann.";

namespace {

constexpr size_t kFields = 7;

std::string withoutTrailingBlanks(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

int numberIn(const std::string& field, int highest) {
    const auto n = text::parseInt(field);
    return n && *n >= 0 && *n <= highest ? static_cast<int>(*n) : 0;
}

const char* titleOf(TimetableKey key) {
    switch (key) {
    case TimetableKey::Teachers: return "Lehrer";
    case TimetableKey::Classes: return "Klassen";
    case TimetableKey::Rooms: return "R\xE4ume";
    }
    return "";
}

// Field numbers counted from 0: class 1, teacher 2, subject 3, room 4.
size_t keyField(TimetableKey key) {
    return key == TimetableKey::Teachers ? 2 : key == TimetableKey::Classes ? 1 : 4;
}

std::string lessonText(const std::vector<std::string>& f, TimetableKey key) {
    switch (key) {
    case TimetableKey::Teachers: return f[1] + " " + f[3] + " " + f[4];
    case TimetableKey::Classes: return f[3] + " " + f[2] + " " + f[4];
    case TimetableKey::Rooms: return f[1] + " " + f[3] + " " + f[2];
    }
    return "";
}

}  // namespace

std::optional<std::vector<std::string>> timetableFields(const std::string& line) {
    bool open = false;
    std::vector<std::string> fields = tables::splitSeparated(line, ',', &open);
    if (open) return std::nullopt;
    for (auto& f : fields) {
        f = text::trim(f);
        if (!f.empty() && f.front() == '"') f.erase(0, 1);
        if (!f.empty() && f.back() == '"') f.pop_back();
    }
    fields.resize(std::max(fields.size(), kFields), fields.back());
    return fields;
}

Exported timetablePage(const std::string& exportText, TimetableKey key) {
    std::vector<std::vector<std::string>> lessons;
    size_t number = 0;
    for (const std::string& line : text::splitLines(exportText)) {
        ++number;
        // The editor keeps a blank line at the end: it is no lesson.
        if (text::trim(line).empty()) continue;
        auto fields = timetableFields(line);
        if (!fields) {
            return {std::nullopt, "In Zeile " + std::to_string(number) +
                                      " fehlt ein schließendes Anführungszeichen (\"). Es wurde nichts erstellt."};
        }
        lessons.push_back(std::move(*fields));
    }
    if (lessons.empty()) return {std::nullopt, "Der Text enthält keine Stunden."};
    const size_t field = keyField(key);
    // Sorted by bytes; an empty key sorts last.
    std::map<std::string, std::vector<size_t>> byKey;
    for (size_t i = 0; i < lessons.size(); ++i) byKey[lessons[i][field]].push_back(i);
    std::vector<std::string> keys;
    for (const auto& entry : byKey) {
        if (!entry.first.empty()) keys.push_back(entry.first);
    }
    if (byKey.count("")) keys.emplace_back();

    static const std::array<const char*, 7> dayNames = {"Montag", "Dienstag", "Mittwoch", "Donnerstag",
                                                        "Freitag", "Samstag", "Sonntag"};
    std::string page = std::string("<html>\r\n<title>Stundenplan ") + titleOf(key) + "</title>\r\n<body>\r\n\r\n";
    bool first = true;
    for (const std::string& v : keys) {
        std::vector<std::vector<std::string>> grid(8, std::vector<std::string>(21));
        int days = 5;
        int periods = 6;
        for (size_t i : byKey[v]) {
            const auto& f = lessons[i];
            const int d = numberIn(f[5], 7);
            const int p = numberIn(f[6], 20);
            days = std::max(days, d);
            periods = std::max(periods, p);
            std::string& cell = grid[static_cast<size_t>(d)][static_cast<size_t>(p)];
            if (!cell.empty()) cell += " <br> ";
            cell += lessonText(f, key);
        }
        if (!first) page += "\r\n";
        first = false;
        page += "<table border=1 cellspacing=0>\r\n  <tr><th colspan=" + std::to_string(days + 1) + ">" + v +
                "</th></tr>\r\n  <tr bgcolor=silver><th>&nbsp;</th>";
        for (int d = 0; d < days; ++d) page += std::string("<th>") + dayNames[static_cast<size_t>(d)] + "</th>";
        page += "</tr>";
        for (int p = 1; p <= periods; ++p) {
            page += "\r\n  <tr><th bgcolor=silver>" + std::to_string(p) + "</th>";
            for (int d = 1; d <= days; ++d) {
                const std::string& cell = grid[static_cast<size_t>(d)][static_cast<size_t>(p)];
                page += cell.empty() ? "<td>&nbsp;</td>" : "<td>" + cell + "</td>";
            }
            page += "</tr>\r\n";
        }
        page += "</table>\r\n\r\n     <br>\r\n";
    }
    page += "\r\n</body>\r\n</html>";
    return {page, ""};
}

namespace {

// One line as literal pieces: older compilers take at most 255 characters in a
// literal, and control characters go as #code between the pieces.
std::string pascalLiteral(const std::string& line) {
    constexpr size_t kLongest = 255;
    std::string out;
    std::string piece;
    bool inPiece = false;
    const auto closePiece = [&] {
        if (!inPiece) return;
        out += "'" + piece + "'";
        piece.clear();
        inPiece = false;
    };
    for (const char c : line) {
        if (static_cast<unsigned char>(c) < 32) {
            closePiece();
            out += "#" + std::to_string(static_cast<unsigned char>(c));
            continue;
        }
        const std::string encoded = c == '\'' ? "''" : std::string(1, c);
        if (inPiece && piece.size() + encoded.size() > kLongest) {
            closePiece();
            out += "+";
        }
        inPiece = true;
        piece += encoded;
    }
    closePiece();
    return out.empty() ? "''" : out;
}

}  // namespace

std::string delphiSource(const std::string& input) {
    const std::vector<std::string> lines = text::splitLines(input);
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool last = i + 1 == lines.size();
        out += pascalLiteral(last ? lines[i] : withoutTrailingBlanks(lines[i]));
        out += last ? ";" : "#13#10+";
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> phoneBookLines(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const std::string& line : lines) {
        // Blanks after the number would otherwise become the sort key.
        const std::string l = withoutTrailingBlanks(line);
        if (l.empty()) {
            out.emplace_back();
            continue;
        }
        out.push_back(l.substr(l.size() - std::min<size_t>(3, l.size())) + " " + l);
    }
    return out;
}

std::string mailAddresses(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        const std::string t = text::trim(line);
        size_t from = 0;
        while (from < t.size()) {
            const size_t blank = t.find(' ', from);
            const size_t end = blank == std::string::npos ? t.size() : blank;
            const std::string word = t.substr(from, end - from);
            if (word.find('@') != std::string::npos) out += word + ";\r\n";
            from = end + 1;
        }
    }
    return text::trim(out);
}

Exported starTableFromTabs(const std::string& clipboard) {
    tables::Grid grid;
    size_t columns = 0;
    for (const std::string& line : text::splitLines(clipboard)) {
        std::vector<std::string> cells = tables::splitSeparated(line, '\t');
        for (auto& c : cells) {
            std::replace_if(c.begin(), c.end(), [](char ch) { return static_cast<unsigned char>(ch) < 32; }, ' ');
            c = text::trim(c);
        }
        columns = std::max(columns, cells.size());
        grid.push_back(std::move(cells));
    }
    while (!grid.empty() && std::all_of(grid.back().begin(), grid.back().end(), [](const std::string& c) { return c.empty(); })) {
        grid.pop_back();
    }
    if (grid.empty()) {
        return {std::nullopt, "In der Zwischenablage ist keine Tabelle (Zellen durch Tabs getrennt, zum Beispiel aus "
                              "einer Tabellenkalkulation kopiert)."};
    }
    for (auto& row : grid) row.resize(columns);
    std::vector<std::string> lines = tables::writeStarTable(grid, 1);
    return {text::joinLines(lines) + "\r\n", ""};
}

}  // namespace pictra::html::exports
