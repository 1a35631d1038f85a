#pragma once

#include <string>
#include <vector>

#include "tables/StarTable.h"

// The table-writing form's output: the filled part of a grid as an HTML table.
namespace pictra::tables {

struct HtmlTableOptions {
    std::string heading;       // "Kopfzeile in der Tabelle"
    int border = 1;            // "Dicke Rand"
    int indent = 0;            // "Leerstellen zu Anfang"
    std::string captionAbove;  // "Überschrift"
    std::string captionBelow;  // "Text unter der Tabelle"
    bool firstRowHeader = false;
    bool centreTable = false;
    bool centreText = false;
    bool compressed = true;
    bool equalWidths = true;
    std::string totalWidth = "750";
};

// `cells[r][c]` are the data cells (grid row r + 1, column c + 1). Empty rows and
// columns at the end are ignored; nothing is written without a filled column.
std::string writeHtmlTable(const Grid& cells, const HtmlTableOptions& options);

// The lines column by column, `rowsPerColumn` lines to a column.
Grid fillFromLines(const std::vector<std::string>& lines, int rowsPerColumn);

// The result value that means "Abbruch".
inline const std::string kTableCancelled(1, '\x1b');

}  // namespace pictra::tables
