#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Two texts side by side, line by line, as the compare window edits them: the
// document on the left, a second file on the right, a marker between them.
namespace pictra::compare {

enum class Column { Left, Right };

struct Cell {
    std::string text;
    // A blank put in by "Automatisch ausrichten": it stands for no line of the
    // document and is left out when the left side goes back into it, unless the
    // user has written into it.
    bool filler = false;
};

// A stretch of lines that differ: `oldCount` lines of the left side from
// `oldStart` against `newCount` lines of the right side from `newStart`
// (0-based; a count of 0 puts the stretch before that line).
struct Hunk {
    std::size_t oldStart = 0;
    std::size_t oldCount = 0;
    std::size_t newStart = 0;
    std::size_t newCount = 0;
};

class CompareGrid {
public:
    // The document's lines, trailing blanks removed, one row each and one row more.
    explicit CompareGrid(const std::vector<std::string>& documentLines);
    // The same taking the lines over, for a long document: no second copy of every line.
    explicit CompareGrid(std::vector<std::string>&& documentLines);

    std::size_t rows() const { return m_left.size(); }
    const Cell& cell(Column column, std::size_t row) const { return cells(column)[row]; }
    // "<--" or "=" as of the last compare.
    const char* marker(std::size_t row) const { return m_differs[row] ? "<--" : "="; }
    std::size_t differing() const { return m_differingCount; }

    // The second file's lines, trailing blanks removed, into the right column from
    // the first row; the grid grows as needed and right cells past the file are emptied.
    void setRight(const std::vector<std::string>& lines);
    void setRight(std::vector<std::string>&& lines);
    // Typing in the upper fields.
    void setText(Column column, std::size_t row, const std::string& text);

    // "Neu vergleichen": drops trailing rows empty on both sides (one row stays)
    // and marks every row whose texts differ exactly. Returns the count.
    std::size_t recompare();

    // The first row at or after `from` whose texts differ once trailing blanks are
    // removed; nullopt when there is none.
    std::optional<std::size_t> findDifferent(std::size_t from) const;

    // The menu commands on a selection of `height` rows from `top` in one column.
    void deleteCells(Column column, std::size_t top, std::size_t height);
    void insertBlankCells(Column column, std::size_t top, std::size_t height);
    void moveLeft(std::size_t top, std::size_t height);

    // Lines that differ face each other and blank cells stand opposite lines only
    // one side has, as `hunks` (the line diff of both sides' texts without their
    // fillers) say. The texts of both sides stay, in their order.
    void align(const std::vector<Hunk>& hunks);
    // Both sides without their fillers, as the line diff is to see them.
    std::vector<std::string> linesOf(Column column) const;
    // The same as one text, each line followed by "\n": what the line diff reads.
    std::string joinedText(Column column) const;

    // "Änderungen übernehmen": the left column, fillers left out.
    std::vector<std::string> documentLines() const;

private:
    std::vector<Cell>& cells(Column column) { return column == Column::Left ? m_left : m_right; }
    const std::vector<Cell>& cells(Column column) const { return column == Column::Left ? m_left : m_right; }
    void resize(std::size_t rows);

    std::vector<Cell> m_left;
    std::vector<Cell> m_right;
    std::vector<bool> m_differs;
    std::size_t m_differingCount = 0;
};

// The difference line of two texts: both padded with blanks to one length, a
// blank where the characters agree and "-" where they differ. nullopt when equal.
std::optional<std::string> differenceLine(const std::string& left, const std::string& right);

// Whether a selection of grid columns (1 = number … 4 = right) allows a command
// on one text column: the message to show, or nothing.
std::optional<std::string> selectionProblem(int firstColumn, int lastColumn, bool rightOnly);

}  // namespace pictra::compare
