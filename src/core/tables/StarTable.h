#pragma once

#include <set>
#include <string>
#include <vector>

// The star table text format ("*-Darstellung"): fixed-width columns under a
// marker line of stars, read into a grid of cell strings and written back.
namespace pictra::tables {

// `Tgitter`: rows of cell strings, every row with the same number of cells.
// Row 0 is the header line, row 1 the first data record.
using Grid = std::vector<std::vector<std::string>>;

// Reads Windows-1252 text (any line breaks). A marker line with fewer than two
// stars (after the closing star is supplied) gives rows without cells.
Grid readStarTable(const std::string& text);

// Writes the rows (header first) with gap 1 or 0: columns that are empty in every
// row are left out, a row beginning with "@D" is not written, trailing blanks
// are stripped. The lines without line ends.
std::vector<std::string> writeStarTable(const Grid& rows, int gap);

// Cell readers.
long long cellInteger(const std::string& cell);
double cellDecimal(const std::string& cell);
// The value part: from the first blank, digit or one of "()*+,-./:·" on, trimmed,
// "+ 5" made "+5", cut before two blanks in a row.
std::string cellValuePart(const std::string& cell);

// School grades: "2+" 1.75, "2-" 2.25, "1/2" 1.5, otherwise a decimal. Each
// distinct grade text read so is reported once ("?Note? " + text + "=" + value).
class GradeReader {
public:
    double read(const std::string& cell);
    const std::vector<std::string>& report() const { return m_report; }

private:
    std::set<std::string> m_seen;
    std::vector<std::string> m_report;
};

}  // namespace pictra::tables
