#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tables/StarTable.h"

// Conversions between star tables, HTML tables and lists. Text in and out is
// Windows-1252 with CR LF; messages are the program's German texts (UTF-8).
namespace pictra::html::convert {

// A conversion's result: the new text, or the message that explains why there is none.
struct Converted {
    std::optional<std::string> text;
    std::string message;
};

// Asked between rows of a long conversion; false stops it, and the conversion
// then gives neither text nor message.
using KeepGoing = std::function<bool()>;

inline constexpr const char* kTooComplicated = "Diese Tabelle ist zu kompliziert";

// Star table to "<table border=1>" rows, the header line as an ordinary row.
Converted starToHtml(const std::string& selection, const KeepGoing& keepGoing = {});

// The grid of an HTML table, or the message why it cannot be read.
struct ParsedTable {
    tables::Grid grid;
    std::string message;  // empty when the grid is good
    bool stopped = false;
};
ParsedTable readHtmlTable(const std::string& selection, const KeepGoing& keepGoing = {});
// Whether the selection holds "<table" within its first 50 characters.
bool startsWithTable(const std::string& selection);
// The grid as "<pre>", star table, "</pre>": columns one blank wider than their longest cell.
std::string starTableBlock(const tables::Grid& grid);
// Each tag, "<" to ">" on one line, made blanks so that the columns keep their places.
std::string blankTags(const std::string& text);

// "<table>...</table> übersichtlich strukturieren": one row tag and one cell per line.
Converted layoutTable(const std::string& selection, const KeepGoing& keepGoing = {});

// The line commands; `lines` are the selected lines, the result has a line break after every line.
std::string wrapInList(const std::vector<std::string>& lines);
std::string breakBeforeLines(const std::vector<std::string>& lines);
std::string spaceBeforeLines(const std::vector<std::string>& lines);

// A semicolon-separated file as an HTML table (first line header cells).
Converted csvToTable(const std::string& text, const KeepGoing& keepGoing = {});
// The ".html" name of the converted file.
std::string htmlFileName(const std::string& fileName);

// "Wikipediatabelle: Im Ausgewählten ..." and its file name.
std::string wikiTable(const std::vector<std::string>& lines);
std::string wikiFileName(const std::string& fileName);
// "Wikipediatabelle (An Cursor \"|\")": a column separator at `column` from line `from` down.
std::vector<std::string> insertWikiColumn(std::vector<std::string> lines, size_t from, size_t column);

}  // namespace pictra::html::convert
