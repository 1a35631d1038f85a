#pragma once

#include <string>
#include <vector>

#include "tables/Sheet.h"

// Printing from the table sheet: the print-selection row and what the browser
// and the printer get.
namespace pictra::tables {

// Adds (or renews) the print-selection row: "@D@x" first, then "X" for fields
// whose records hold only blanks, digits, "+", ",", "-" and ".", "x" elsewhere.
void addPrintRow(Sheet& sheet);
std::string printPreparedMessage();

struct PrintedField {
    int field = 1;
    bool numeric = false;
};
// The fields still marked in the print-selection row; all fields without one.
std::vector<PrintedField> printedFields(const Sheet& sheet);

// "Druck über Browser": the marked fields as an HTML page (Windows-1252).
std::string browserPrintPage(const Sheet& sheet);
// "Schülerausdruck über Browser": one block per record, `perPage` blocks a page.
std::string pupilPrintPage(const Sheet& sheet, int perPage, const std::string& comment);
// "Schnelldruck auf Nadeldrucker/Tintenstrahldrucker": the raw job.
std::string quickPrintJob(const Sheet& sheet, bool needlePrinter);

}  // namespace pictra::tables
