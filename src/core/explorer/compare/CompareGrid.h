#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "explorer/compare/SecondFile.h"

// Two texts side by side, line by line, as the compare window edits them: the
// document on the left, a second file on the right, a marker between them.
namespace pictra::compare {

enum class Column { Left, Right };

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
    // The same of a file's lines.
    explicit CompareGrid(FileLines&& document);
    CompareGrid(CompareGrid&&) = default;
    CompareGrid& operator=(CompareGrid&&) = default;

    std::size_t rows() const { return m_left.size(); }
    const Cell& cell(Column column, std::size_t row) const { return cells(column)[row]; }
    // "<--" or "=" as of the last compare.
    const char* marker(std::size_t row) const { return m_differs[row] ? "<--" : "="; }
    std::size_t differing() const { return m_differingCount; }

    // The second file's lines, trailing blanks removed, into the right column from
    // the first row; the grid grows as needed and right cells past the file are emptied.
    void setRight(const std::vector<std::string>& lines);
    void setRight(std::vector<std::string>&& lines);
    void setRight(FileLines&& file);
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
    // What the line diff reads of one side: a stand-in of ten bytes for every line
    // without its fillers, each followed by "\n". Equal lines get equal stand-ins and
    // different lines different ones (but for a chance of one in 2^64, which could only
    // pair two different lines, still marked "<--"), so the diff hashes and compares
    // ten bytes a line instead of the whole line, and no copy of the texts is made.
    struct Keys {
        PageBlock bytes;
        std::size_t size = 0;
        std::string_view view() const { return {bytes.get(), size}; }
    };
    Keys diffKeys(Column column) const;
    // Both sides' stand-ins, the right one made on a second thread for a long text.
    std::pair<Keys, Keys> diffKeys() const;

    // "Änderungen übernehmen": the left column, fillers left out.
    std::vector<std::string> documentLines() const;

private:
    Cells& cells(Column column) { return column == Column::Left ? m_left : m_right; }
    const Cells& cells(Column column) const { return column == Column::Left ? m_left : m_right; }
    void resize(std::size_t rows);
    // Cells of the lines, which the grid keeps from now on.
    Cells keep(std::vector<std::string>&& lines);
    void takeLeft(Cells&& lines);
    void takeRight(Cells&& lines);

    // The texts the cells point into; moving a list or a buffer moves none of its characters.
    std::deque<std::vector<std::string>> m_lineLists;
    std::deque<PageBlock> m_files;
    std::deque<std::string> m_typed;
    Cells m_left;
    Cells m_right;
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
