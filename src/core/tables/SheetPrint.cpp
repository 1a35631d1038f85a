#include "SheetPrint.h"

#include <algorithm>

#include "common/Codec.h"
#include "common/Text.h"

namespace pictra::tables {

namespace {

bool numericText(const std::string& s) {
    return s.find_first_not_of(" +,-.0123456789") == std::string::npos;
}

std::string escaped(const std::string& s) {
    std::string out;
    for (char ch : s) {
        if (ch == '&') out += "&amp;";
        else if (ch == '<') out += "&lt;";
        else if (ch == '>') out += "&gt;";
        else out += ch;
    }
    return out;
}

std::string cellHtml(const std::string& s) {
    const std::string t = text::trim(s);
    return t.empty() ? "&nbsp;" : escaped(t);
}

const char* kPageHead =
    "<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1252\">"
    "<title>Pictra Tabelle</title></head><body>\r\n";

}  // namespace

void addPrintRow(Sheet& sheet) {
    if (sheet.columns() == 0) return;
    if (sheet.hasPrintRow()) sheet.rows.pop_back();
    std::vector<std::string> row(static_cast<size_t>(sheet.columns()));
    for (int f = 1; f <= sheet.columns(); ++f) {
        bool numeric = true;
        for (int r = 1; r < sheet.recordEnd() && numeric; ++r) numeric = numericText(sheet.cell(r, f));
        row[static_cast<size_t>(f - 1)] = numeric ? "X" : "x";
    }
    row[0] = "@D@x";
    sheet.rows.push_back(std::move(row));
}

std::string printPreparedMessage() {
    return "Tabelle wurde zum Drucken vorbereitet.\r(Alle Felder, die in der untersten Reihen ein \"x\" enthalten, "
           "werden gedruckt\r((Zahlen-)Felder mit \"X\" werden beim Browser rechtsbündig gedruckt.)\r"
           "Die Zeile mit \"@D@\" in Feld 1 ist die Druckauswahl; sie wird nie in die Textdatei geschrieben.";
}

std::vector<PrintedField> printedFields(const Sheet& sheet) {
    std::vector<PrintedField> fields;
    for (int f = 1; f <= sheet.columns(); ++f) {
        if (!sheet.hasPrintRow()) {
            bool numeric = true;
            for (int r = 1; r < sheet.recordEnd() && numeric; ++r) numeric = numericText(sheet.cell(r, f));
            fields.push_back({f, numeric});
            continue;
        }
        std::string mark = sheet.rows.back()[static_cast<size_t>(f - 1)];
        if (f == 1) mark = mark.substr(3);
        if (mark.find('X') != std::string::npos) fields.push_back({f, true});
        else if (mark.find('x') != std::string::npos) fields.push_back({f, false});
    }
    return fields;
}

std::string browserPrintPage(const Sheet& sheet) {
    const std::vector<PrintedField> fields = printedFields(sheet);
    std::string page = std::string(kPageHead) + "<table border=1 cellspacing=0>\r\n";
    for (int r = 0; r < sheet.recordEnd(); ++r) {
        page += "<tr>";
        for (const PrintedField& f : fields) {
            const char* open = r == 0 ? "<th" : "<td";
            page += std::string(open) + (f.numeric && r > 0 ? " align=right>" : ">") + cellHtml(sheet.cell(r, f.field)) +
                    (r == 0 ? "</th>" : "</td>");
        }
        page += "</tr>\r\n";
    }
    return page + "</table>\r\n</body></html>\r\n";
}

std::string pupilPrintPage(const Sheet& sheet, int perPage, const std::string& comment) {
    const std::vector<PrintedField> fields = printedFields(sheet);
    perPage = std::max(perPage, 1);
    std::string page = kPageHead;
    for (int r = 1; r < sheet.recordEnd(); ++r) {
        if (r > 1 && (r - 1) % perPage == 0) page += "<div style=\"page-break-before:always\"></div>\r\n";
        page += "<table border=1 cellspacing=0>\r\n";
        for (const PrintedField& f : fields) {
            page += "<tr><td>" + cellHtml(sheet.cell(0, f.field)) + "</td><td" + (f.numeric ? " align=right>" : ">") +
                    cellHtml(sheet.cell(r, f.field)) + "</td></tr>\r\n";
        }
        page += "</table>\r\n";
        if (!text::trim(comment).empty()) page += "<p>" + escaped(comment) + "</p>\r\n";
        page += "<br>\r\n";
    }
    return page + "</body></html>\r\n";
}

std::string quickPrintJob(const Sheet& sheet, bool needlePrinter) {
    const std::string esc = "\x1b";
    std::string job = needlePrinter ? esc + "I" + '\0' : esc + "(s1Q";
    const std::string underlineOn = needlePrinter ? esc + "-" + '\x01' : esc + "&d1D";
    const std::string underlineOff = needlePrinter ? esc + "-" + '\0' : esc + "&d@";
    const std::vector<PrintedField> fields = printedFields(sheet);
    Grid rows;
    for (int r = 0; r < sheet.recordEnd(); ++r) {
        std::vector<std::string> row;
        for (const PrintedField& f : fields) row.push_back(sheet.cell(r, f.field));
        rows.push_back(std::move(row));
    }
    std::vector<std::string> lines = writeStarTable(rows, 1);
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string line = codec::cp1252ToCp850(lines[i]);
        job += i == 1 ? underlineOn + line + underlineOff + "\r\n" : line + "\r\n";
    }
    return job + "\f";
}

}  // namespace pictra::tables
