#include "SheetDocument.h"

#include <algorithm>

#include "common/Text.h"

namespace pictra::tables {

SheetOpening classifySheetText(const std::string& text) {
    if (text::startsWith(text, "[!Xtt]")) return SheetOpening::CommaVariant;
    if (text::startsWith(text, "*")) return SheetOpening::Table;
    return SheetOpening::NotATable;
}

std::vector<std::string> exampleTable() {
    // Stars in columns 1, 21, 27, 32, 37, 42, 47 and 52.
    const std::vector<size_t> widths{20, 6, 5, 5, 5, 5, 5};
    std::string marker;
    for (size_t w : widths) marker += "*" + std::string(w - 1, ' ');
    marker += "*";
    const Grid rows{
        {"Name Vorname", "1(6)", "2(10)", "3(8)", "4(6)", "Su", "No"},
        {"Adler Anna", "5", "9,5", "7", "6", "", ""},
        {"Becker Ben", "4", "8", "6", "5", "", ""},
        {"Celik Can", "6", "10", "8", "2,5", "", ""},
        {"Dorn Dora", "3", "6,5", "5", "4", "", ""},
        {"Engel Emil", "2,5", "5", "4", "3", "", ""},
    };
    std::vector<std::string> lines{marker};
    for (const auto& row : rows) {
        std::string line;
        for (size_t i = 0; i < widths.size(); ++i) {
            std::string cellText = row[i];
            cellText.resize(widths[i], ' ');
            line += cellText;
        }
        lines.push_back(text::trimRight(line));
    }
    // The header keeps its blanks: the sheet shows the field widths through it.
    lines[1] = "Name Vorname        1(6)  2(10)3(8) 4(6) Su   No  ";
    return lines;
}

std::string alreadyATableMessage() {
    return "Es handelt sich schon um um eine Tabelle!\rDie erste Zeile muß mit \"*\" die Felder kennzeichnen!\rDie "
           "zweite Zeile muß die Kopfzeile enthalten.\r\rHier wird eine Liste erwartet, die zum Beispiel "
           "folgendermaßen aussehen könnte:\rMüller Hans\rSchmidt Eva\rvon Berg Karl";
}

std::vector<std::string> tableFromNameList(const std::vector<std::string>& names) {
    const std::string header = "Name Vorname";
    // The first field is at least as wide as its title, which would otherwise run into field 2.
    size_t longest = header.size();
    for (const auto& name : names) longest = std::max(longest, name.size());
    std::string marker = "*";
    marker.resize(longest, ' ');
    marker += "*         *         *          *          *          *          *          *";
    std::vector<std::string> lines{marker, header};
    lines.insert(lines.end(), names.begin(), names.end());
    return lines;
}

std::string tablesHelp() {
    return "In Pictra ist eine kleine Tabellenkalkulation integriert.\rSie kann zur Notenverwaltung verwendet werden.\r\r"
           "Eine Tabelle ist ein gewöhnlicher Text: Die erste Zeile kennzeichnet mit \"*\" den Anfang jedes Feldes,\r"
           "die zweite Zeile ist die Kopfzeile, jede weitere Zeile ist ein Datensatz.\r\r"
           "Menü \"Tabelle\" (Strg+T) zeigt den Text als Gitter. Dort lassen sich Summen, Durchschnitte, Noten und\r"
           "Rechenausdrücke berechnen und die Datensätze ordnen. \"Änderungen übernehmen\" schreibt das Gitter\r"
           "in die Textdatei zurück; erst das Speichern der Textdatei sichert die Tabelle.";
}

std::optional<std::vector<std::string>> writtenBack(const Sheet& sheet, int gap,
                                                    const std::vector<std::string>& documentLines) {
    // Empty records at the end are the grid's spare rows; reading drops them anyway.
    const Grid rows(sheet.rows.begin(), sheet.rows.begin() + sheet.filledEnd());
    std::vector<std::string> lines = writeStarTable(rows, gap);
    if (lines.size() != documentLines.size()) return lines;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (text::trim(lines[i]) != text::trim(documentLines[i])) return lines;
    }
    return std::nullopt;
}

}  // namespace pictra::tables
