#include "CompareGrid.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <thread>


namespace pictra::compare {

namespace {

std::string_view trimmedEnd(std::string_view line) {
    std::size_t end = line.size();
    while (end > 0 && static_cast<unsigned char>(line[end - 1]) <= ' ') --end;
    return line.substr(0, end);
}

}  // namespace

CompareGrid::CompareGrid(const std::vector<std::string>& documentLines)
    : CompareGrid(std::vector<std::string>(documentLines)) {}

CompareGrid::CompareGrid(std::vector<std::string>&& documentLines) { takeLeft(keep(std::move(documentLines))); }

CompareGrid::CompareGrid(FileLines&& document) {
    m_files.push_back(std::move(document.bytes));
    takeLeft(std::move(document.lines));
}

Cells CompareGrid::keep(std::vector<std::string>&& lines) {
    m_lineLists.push_back(std::move(lines));
    const auto& kept = m_lineLists.back();
    Cells cells;
    cells.reserve(kept.size() + 1);
    for (const std::string& line : kept) cells.push_back({line});
    return cells;
}

void CompareGrid::takeLeft(Cells&& lines) {
    m_left = std::move(lines);
    for (Cell& c : m_left) c.text = trimmedEnd(c.text);
    // The row below the last line stands for no line of the document.
    m_left.push_back({std::string_view(), true});
    m_right.assign(m_left.size(), Cell{std::string_view(), true});
    m_differs.assign(m_left.size(), false);
}

// Cells the grid grows by stand for no line of either text.
void CompareGrid::resize(std::size_t rows) {
    m_left.resize(rows, Cell{std::string_view(), true});
    m_right.resize(rows, Cell{std::string_view(), true});
    m_differs.resize(rows, false);
}

void CompareGrid::setRight(const std::vector<std::string>& lines) { setRight(std::vector<std::string>(lines)); }

void CompareGrid::setRight(std::vector<std::string>&& lines) { takeRight(keep(std::move(lines))); }

void CompareGrid::setRight(FileLines&& file) {
    m_files.push_back(std::move(file.bytes));
    takeRight(std::move(file.lines));
}

// Right cells past the file are emptied.
void CompareGrid::takeRight(Cells&& lines) {
    const std::size_t total = std::max(rows(), lines.size());
    m_right = std::move(lines);
    for (Cell& c : m_right) c.text = trimmedEnd(c.text);
    resize(total);
}

void CompareGrid::setText(Column column, std::size_t row, const std::string& text) {
    if (row >= rows()) return;
    m_typed.push_back(text);
    cells(column)[row] = {m_typed.back(), false};
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
        if (trimmedEnd(m_left[i].text) != trimmedEnd(m_right[i].text)) return i;
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
    col.resize(total, Cell{std::string_view(), true});
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
        if (!c.filler) lines.emplace_back(c.text);
    }
    return lines;
}

namespace {

constexpr std::size_t kKeyBytes = 10;

// A line's 64-bit hash as ten bytes of seven bits each with the top bit set, so no
// stand-in holds a line end.
char* writeKey(char* out, std::string_view line) {
    std::uint64_t hash = std::hash<std::string_view>{}(line);
    for (std::size_t i = 0; i < kKeyBytes; ++i, hash >>= 7) *out++ = static_cast<char>(0x80 | (hash & 0x7F));
    *out++ = '\n';
    return out;
}

}  // namespace

CompareGrid::Keys CompareGrid::diffKeys(Column column) const {
    const auto& side = cells(column);
    Keys keys;
    keys.bytes = pageBlock(side.size() * (kKeyBytes + 1));
    char* out = keys.bytes.get();
    for (const Cell& c : side) {
        if (!c.filler) out = writeKey(out, c.text);
    }
    keys.size = static_cast<std::size_t>(out - keys.bytes.get());
    return keys;
}

std::pair<CompareGrid::Keys, CompareGrid::Keys> CompareGrid::diffKeys() const {
    // Below this a second thread costs more than it saves.
    constexpr std::size_t kShared = 20000;
    if (rows() < kShared) return {diffKeys(Column::Left), diffKeys(Column::Right)};
    Keys right;
    std::thread other([this, &right] { right = diffKeys(Column::Right); });
    Keys left = diffKeys(Column::Left);
    other.join();
    return {std::move(left), std::move(right)};
}

void CompareGrid::align(const std::vector<Hunk>& hunks) {
    // Both sides without their fillers, as the diff saw them: positions into the grid, not copies of the cells.
    std::vector<std::size_t, LargePageAllocator<std::size_t>> left;
    std::vector<std::size_t, LargePageAllocator<std::size_t>> right;
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
    Cells newLeft;
    Cells newRight;
    newLeft.reserve(rowsAfter);
    newRight.reserve(rowsAfter);
    std::size_t o = 0;
    std::size_t n = 0;
    const Cell blank{std::string_view(), true};
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
        if (!c.filler || !c.text.empty()) lines.emplace_back(c.text);
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
