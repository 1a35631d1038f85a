#include "SheetFields.h"

#include <algorithm>

#include "common/Text.h"

namespace pictra::tables {

bool joinTwoFields(SheetContext& c) {
    const auto answer = c.dialogs.askText("Zusammenfassen", "Welche zwei Felder", "2 3");
    if (!answer) return false;
    const std::string typed = text::trim(*answer);
    const size_t blank = typed.find(' ');
    const long long first = text::toIntDef(typed.substr(0, blank), 0);
    const long long second = blank == std::string::npos ? 0 : text::toIntDef(typed.substr(blank), 0);
    for (const long long f : {first, second}) {
        if (!c.sheet.validField(f)) {
            c.dialogs.inform("Feld " + std::to_string(f) + " nicht vorhanden");
            return false;
        }
    }
    const bool withBlank = typed.find("  ") != std::string::npos;
    for (auto& row : c.sheet.rows) {
        if (text::startsWith(row[0], "@D@")) continue;
        std::string& target = row[static_cast<size_t>(first - 1)];
        target = text::trimRight(target) + (withBlank ? " " : "") + row[static_cast<size_t>(second - 1)];
    }
    return true;
}

bool deleteField(SheetContext& c) {
    long long field = c.sheet.columns();
    if (!c.dialogs.askNumber("Feld löschen", "Welches Feld soll gelöscht werden", field)) return false;
    if (!c.sheet.validField(field)) {
        c.dialogs.inform("Feld " + std::to_string(field) + " nicht vorhanden");
        return false;
    }
    c.sheet.removeField(static_cast<int>(field));
    return true;
}

void mergeNames(Sheet& sheet) {
    if (sheet.columns() < 2) return;
    for (auto& row : sheet.rows) {
        row[0] = text::trimRight(row[0]) + " " + text::trim(row[1]);
        std::move(row.begin() + 2, row.end(), row.begin() + 1);
        row.back().clear();
    }
}

void splitNames(Sheet& sheet) {
    if (sheet.columns() < 1) return;
    sheet.insertField(2);
    for (auto& row : sheet.rows) {
        const std::string whole = row[0];
        const size_t blank = whole.find(' ');
        if (blank == std::string::npos) continue;
        std::string surname = whole.substr(0, blank);
        std::string rest = whole.substr(blank + 1);
        if (surname.size() <= 2 || text::startsWith(text::toLowerCp1252(whole), "von")) {
            rest = text::trim(rest);
            const size_t end = rest.find(' ');
            surname += " " + rest.substr(0, end);
            rest = end == std::string::npos ? std::string() : rest.substr(end + 1);
        }
        row[0] = surname;
        row[1] = text::trim(rest);
    }
}

void trimCells(Sheet& sheet) {
    for (auto& row : sheet.rows) {
        for (auto& cellText : row) cellText = text::trim(cellText);
    }
}

bool copyFieldFromSecond(SheetContext& c, const Sheet& second, bool secondVisible) {
    if (!secondVisible || second.rows.empty() || second.columns() == 0) {
        c.dialogs.inform("Zuerst zweite Tabelle öffnen oder\rDas Fenster der zweiten Tabelle vergrößern!");
        return false;
    }
    long long field = 1;
    if (!c.dialogs.askNumber("Zweite Tabelle", "Welches Feld", field)) return false;
    if (!second.validField(field)) {
        c.dialogs.inform("Feld existiert nicht!");
        return false;
    }
    Sheet& first = c.sheet;
    const int target = first.columns() + 1;
    first.setColumns(target);
    // Records beyond the first table's become new records, so nothing of the field is lost.
    const int secondRecords = second.recordEnd();
    if (secondRecords > first.recordEnd()) first.addRecords(secondRecords - first.recordEnd());
    for (int r = 0; r < secondRecords; ++r) first.cell(r, target) = second.cell(r, static_cast<int>(field));
    return true;
}

void appendSecond(Sheet& sheet, const Sheet& second) {
    sheet.dropTrailingEmptyRecords();
    if (second.columns() > sheet.columns()) sheet.setColumns(second.columns());
    const int at = sheet.recordEnd();
    Grid records(second.rows.begin() + std::min(1, second.recordEnd()), second.rows.begin() + second.recordEnd());
    for (auto& row : records) row.resize(static_cast<size_t>(sheet.columns()));
    sheet.rows.insert(sheet.rows.begin() + at, records.begin(), records.end());
}

size_t splitSeparated(std::string_view line, char separator, std::vector<std::string>& fields, bool* unbalanced) {
    // The strings of `fields` are reused, so that a file read line by line
    // allocates only while its widest line grows.
    size_t count = 0;
    const auto next = [&]() -> std::string& {
        if (count == fields.size()) fields.emplace_back();
        std::string& f = fields[count++];
        f.clear();
        return f;
    };
    std::string* field = &next();
    bool quoted = false;
    // A quote opens a quoted field only where the field so far is blank; the
    // scan stops at the first other character, so it stays cheap.
    const auto blankSoFar = [&] {
        for (char c : *field) {
            if (static_cast<unsigned char>(c) > ' ') return false;
        }
        return true;
    };
    const size_t n = line.size();
    for (size_t i = 0; i < n;) {
        if (quoted) {
            const size_t q = line.find('"', i);
            if (q == std::string_view::npos) {
                field->append(line, i, n - i);
                i = n;
            } else {
                field->append(line, i, q - i);
                if (q + 1 < n && line[q + 1] == '"') {
                    *field += '"';
                    i = q + 2;
                } else {
                    quoted = false;
                    i = q + 1;
                }
            }
            continue;
        }
        // Plain text runs to the next separator or quote in one piece.
        size_t stop = i;
        while (stop < n && line[stop] != separator && line[stop] != '"') ++stop;
        if (stop > i) {
            field->append(line, i, stop - i);
            i = stop;
            continue;
        }
        if (line[i] == separator) {
            field = &next();
        } else if (blankSoFar()) {
            field->clear();
            quoted = true;
        } else {
            *field += '"';
        }
        ++i;
    }
    if (unbalanced) *unbalanced = quoted;
    return count;
}

std::vector<std::string> splitSeparated(const std::string& line, char separator, bool* unbalanced) {
    std::vector<std::string> fields;
    fields.resize(splitSeparated(std::string_view(line), separator, fields, unbalanced));
    return fields;
}

char separatorOf(const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        if (line.find('\t') != std::string::npos) return '\t';
    }
    return ';';
}

void appendSeparated(Sheet& sheet, const std::vector<std::string>& lines, const std::optional<std::string>& fieldOne) {
    const char separator = separatorOf(lines);
    Grid records;
    size_t columns = static_cast<size_t>(sheet.columns());
    for (const auto& line : lines) {
        if (text::trim(line).empty()) continue;
        std::vector<std::string> fields = splitSeparated(line, separator);
        if (fieldOne) fields.insert(fields.begin(), *fieldOne);
        // Cells hold one line of text: a line break inside quotes becomes a blank.
        for (auto& f : fields) std::replace_if(f.begin(), f.end(), [](char ch) { return ch == '\r' || ch == '\n'; }, ' ');
        columns = std::max(columns, fields.size());
        records.push_back(std::move(fields));
    }
    sheet.setColumns(static_cast<int>(columns));
    // New records follow the last filled one, not the grid's empty spare rows.
    sheet.dropTrailingEmptyRecords();
    for (auto& row : records) row.resize(columns);
    sheet.rows.insert(sheet.rows.begin() + sheet.recordEnd(), records.begin(), records.end());
}

std::vector<std::string> separatedLines(const Sheet& sheet, char separator, bool quoted) {
    std::vector<std::string> lines;
    for (int r = 0; r < sheet.filledEnd(); ++r) {
        std::string line;
        for (int f = 1; f <= sheet.columns(); ++f) {
            if (f > 1) line += separator;
            std::string value = text::trimRight(sheet.cell(r, f));
            if (quoted && value.find_first_of(std::string{separator, '"', '\r', '\n'}) != std::string::npos) {
                value = "\"" + text::replaceAll(value, "\"", "\"\"") + "\"";
            }
            line += value;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::string> missingCodes(const Sheet& sheet, int field, const std::string& list) {
    std::vector<std::string> missing;
    for (int r = 1; r < sheet.recordEnd(); ++r) {
        const std::string code = text::trim(sheet.cell(r, field));
        if (!code.empty() && list.find(code) == std::string::npos) missing.push_back(code);
    }
    return missing;
}

}  // namespace pictra::tables
