#include "CompareGrid.h"

#include <algorithm>

#include "common/LargeBuffer.h"
#include "common/Text.h"

namespace pictra::compare {

namespace {

void trimEnd(std::string& line) {
    std::size_t end = line.size();
    while (end > 0 && static_cast<unsigned char>(line[end - 1]) <= ' ') --end;
    line.resize(end);
}

}  // namespace

CompareGrid::CompareGrid(const std::vector<std::string>& documentLines)
    : CompareGrid(std::vector<std::string>(documentLines)) {}

CompareGrid::CompareGrid(std::vector<std::string>&& documentLines) {
    m_left.reserve(documentLines.size() + 1);
    common::adviseLarge(m_left.data(), m_left.capacity() * sizeof(Cell));
    for (auto& line : documentLines) {
        trimEnd(line);
        m_left.push_back({std::move(line), false});
    }
    // The row below the last line stands for no line of the document.
    m_left.push_back({std::string(), true});
    m_right.assign(m_left.size(), Cell{std::string(), true});
    m_differs.assign(m_left.size(), false);
}

// Cells the grid grows by stand for no line of either text.
void CompareGrid::resize(std::size_t rows) {
    m_left.resize(rows, Cell{std::string(), true});
    m_right.resize(rows, Cell{std::string(), true});
    m_differs.resize(rows, false);
}

void CompareGrid::setRight(const std::vector<std::string>& lines) { setRight(std::vector<std::string>(lines)); }

void CompareGrid::setRight(std::vector<std::string>&& lines) {
    if (lines.size() > rows()) resize(lines.size());
    for (std::size_t i = 0; i < rows(); ++i) {
        if (i < lines.size()) {
            trimEnd(lines[i]);
            m_right[i] = Cell{std::move(lines[i]), false};
        } else {
            m_right[i] = Cell{std::string(), true};
        }
    }
}

void CompareGrid::setText(Column column, std::size_t row, const std::string& text) {
    if (row >= rows()) return;
    cells(column)[row] = {text, false};
}

std::size_t CompareGrid::recompare() {
    std::size_t keep = rows();
    while (keep > 1 && m_left[keep - 1].text.empty() && m_right[keep - 1].text.empty()) --keep;
    resize(keep);
    m_differingCount = 0;
    for (std::size_t i = 0; i < keep; ++i) {
        m_differs[i] = m_left[i].text != m_right[i].text;
        m_differingCount += m_differs[i] ? 1 : 0;
    }
    return m_differingCount;
}

std::optional<std::size_t> CompareGrid::findDifferent(std::size_t from) const {
    for (std::size_t i = from; i < rows(); ++i) {
        if (text::trimRight(m_left[i].text) != text::trimRight(m_right[i].text)) return i;
    }
    return std::nullopt;
}

void CompareGrid::deleteCells(Column column, std::size_t top, std::size_t height) {
    const std::size_t total = rows();
    if (top >= total || height == 0) return;
    height = std::min(height, total - top);
    auto& col = cells(column);
    const auto at = col.begin() + static_cast<std::ptrdiff_t>(top);
    col.erase(at, at + static_cast<std::ptrdiff_t>(height));
    col.resize(total, Cell{std::string(), true});
}

void CompareGrid::insertBlankCells(Column column, std::size_t top, std::size_t height) {
    if (top >= rows() || height == 0) return;
    auto& col = cells(column);
    col.insert(col.begin() + static_cast<std::ptrdiff_t>(top), height, Cell{});
    resize(col.size());
}

void CompareGrid::moveLeft(std::size_t top, std::size_t height) {
    for (std::size_t i = top; i < rows() && i < top + height; ++i) m_left[i] = {m_right[i].text, false};
}

std::vector<std::string> CompareGrid::linesOf(Column column) const {
    std::vector<std::string> lines;
    for (const Cell& c : cells(column)) {
        if (!c.filler) lines.push_back(c.text);
    }
    return lines;
}

std::string CompareGrid::joinedText(Column column) const {
    std::size_t size = 0;
    for (const Cell& c : cells(column)) size += c.filler ? 0 : c.text.size() + 1;
    std::string text;
    common::reserveLarge(text, size);
    for (const Cell& c : cells(column)) {
        if (c.filler) continue;
        text += c.text;
        text += '\n';
    }
    return text;
}

void CompareGrid::align(const std::vector<Hunk>& hunks) {
    // Both sides without their fillers, as the diff saw them: positions into the grid, not copies of the cells.
    std::vector<std::size_t> left;
    std::vector<std::size_t> right;
    left.reserve(m_left.size());
    right.reserve(m_right.size());
    for (std::size_t i = 0; i < m_left.size(); ++i) {
        if (!m_left[i].filler) left.push_back(i);
    }
    for (std::size_t i = 0; i < m_right.size(); ++i) {
        if (!m_right[i].filler) right.push_back(i);
    }
    // Every line of the left side gets a row, and so does each line a stretch has more on the right.
    std::size_t rowsAfter = left.size();
    for (const Hunk& h : hunks) rowsAfter += h.newCount > h.oldCount ? h.newCount - h.oldCount : 0;
    rowsAfter = std::max(rowsAfter, right.size());
    std::vector<Cell> newLeft;
    std::vector<Cell> newRight;
    newLeft.reserve(rowsAfter);
    newRight.reserve(rowsAfter);
    common::adviseLarge(newLeft.data(), newLeft.capacity() * sizeof(Cell));
    common::adviseLarge(newRight.data(), newRight.capacity() * sizeof(Cell));
    std::size_t o = 0;
    std::size_t n = 0;
    const Cell blank{std::string(), true};
    const auto pairUpTo = [&](std::size_t oldEnd, std::size_t newEnd) {
        oldEnd = std::min(oldEnd, left.size());
        newEnd = std::min(newEnd, right.size());
        while (o < oldEnd && n < newEnd) {
            newLeft.push_back(std::move(m_left[left[o++]]));
            newRight.push_back(std::move(m_right[right[n++]]));
        }
        while (o < oldEnd) {
            newLeft.push_back(std::move(m_left[left[o++]]));
            newRight.push_back(blank);
        }
        while (n < newEnd) {
            newLeft.push_back(blank);
            newRight.push_back(std::move(m_right[right[n++]]));
        }
    };
    for (const Hunk& h : hunks) {
        pairUpTo(h.oldStart, h.newStart);
        // Changed lines face each other; what one side has more stands opposite blanks.
        const std::size_t both = std::min(h.oldCount, h.newCount);
        pairUpTo(o + both, n + both);
        pairUpTo(o + h.oldCount - both, n);
        pairUpTo(o, n + h.newCount - both);
    }
    pairUpTo(left.size(), right.size());
    m_left = std::move(newLeft);
    m_right = std::move(newRight);
    if (m_left.empty()) {
        m_left.push_back(blank);
        m_right.push_back(blank);
    }
    m_differs.assign(m_left.size(), false);
}

std::vector<std::string> CompareGrid::documentLines() const {
    std::vector<std::string> lines;
    lines.reserve(m_left.size());
    for (const Cell& c : m_left) {
        if (!c.filler || !c.text.empty()) lines.push_back(c.text);
    }
    return lines;
}

std::optional<std::string> differenceLine(const std::string& left, const std::string& right) {
    const std::size_t length = std::max(left.size(), right.size());
    std::string line(length, ' ');
    bool differs = false;
    for (std::size_t i = 0; i < length; ++i) {
        const char a = i < left.size() ? left[i] : ' ';
        const char b = i < right.size() ? right[i] : ' ';
        if (a != b) {
            line[i] = '-';
            differs = true;
        }
    }
    if (!differs) return std::nullopt;
    return line;
}

std::optional<std::string> selectionProblem(int firstColumn, int lastColumn, bool rightOnly) {
    if (rightOnly) {
        if (firstColumn == 4 && lastColumn == 4) return std::nullopt;
        return "Nur Teil von Spalte 4 auswählen";
    }
    if (firstColumn == lastColumn && (firstColumn == 2 || firstColumn == 4)) return std::nullopt;
    return "Nur Teil von Spalte 2 oder Spalte 4 auswählen";
}

}  // namespace pictra::compare
