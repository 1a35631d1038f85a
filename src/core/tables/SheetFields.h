#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/Sheet.h"

// The field operations of the table sheet and the exchange with other tables
// and with tab-separated files.
namespace pictra::tables {

// "Zwei Felder zusammenfassen": the second field appended to the first in every
// row; two blanks between the numbers put a blank between the texts.
bool joinTwoFields(SheetContext& c);
// "Feld löschen".
bool deleteField(SheetContext& c);
// "Feld 1 (Namen) und Feld 2 (Vornamen) zusammenfassen" without its question.
void mergeNames(Sheet& sheet);
// "Feld 1 in zwei Felder ... aufteilen" without its question: "von" and short
// first parts keep the next word with the surname.
void splitNames(Sheet& sheet);
// "Leerzeichen entfernen".
void trimCells(Sheet& sheet);

// "Feld von zweiter Tabelle in die erste übertragen": the chosen field of the
// second table becomes a new last field of the first, row by row.
bool copyFieldFromSecond(SheetContext& c, const Sheet& second, bool secondVisible);
// "gesamte zweite Tabelle an die erste anhängen": its records behind the last record.
void appendSecond(Sheet& sheet, const Sheet& second);

// One line of a tab-, semicolon- or comma-separated file: quotes group a field
// that holds the separator, a doubled quote stands for one. `unbalanced`, when
// given, tells whether a quoted field was still open at the end of the line.
std::vector<std::string> splitSeparated(const std::string& line, char separator, bool* unbalanced = nullptr);
// The same into the first fields of `fields`, whose strings are reused; returns how many there are.
size_t splitSeparated(std::string_view line, char separator, std::vector<std::string>& fields,
                      bool* unbalanced = nullptr);
// The separator of a file: a tab when any line has one, else ";" .
char separatorOf(const std::vector<std::string>& lines);
// "Excel-Datei (mit tabs getrennt) dazuladen": records from the lines, with
// `fieldOne` as a new field 1 when given.
void appendSeparated(Sheet& sheet, const std::vector<std::string>& lines, const std::optional<std::string>& fieldOne);
// Header and records as lines of fields joined by `separator`; with `quoted`
// fields holding the separator, a quote or a line break are quoted.
std::vector<std::string> separatedLines(const Sheet& sheet, char separator, bool quoted);

// "BLZ überprüfen": the codes of the field that the list text does not contain.
std::vector<std::string> missingCodes(const Sheet& sheet, int field, const std::string& list);

}  // namespace pictra::tables
