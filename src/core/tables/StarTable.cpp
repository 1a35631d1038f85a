#include "StarTable.h"

#include <algorithm>

#include "common/Numbers.h"
#include "common/Text.h"

namespace pictra::tables {

namespace {

std::string rightTrimmed(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

bool blankOnly(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

// The shortest general form of a number ("1.75", "2.5", "3").
std::string general(double value) { return text::formatGeneral(value); }

}  // namespace

Grid readStarTable(const std::string& text) {
    std::vector<std::string> lines = text::splitLines(text);
    while (!lines.empty() && blankOnly(lines.back())) lines.pop_back();
    if (lines.empty()) return {};
    std::string marker = rightTrimmed(lines.front());
    size_t longest = 0;
    for (size_t i = 1; i < lines.size(); ++i) longest = std::max(longest, lines[i].size());
    if (longest >= marker.size()) {
        marker.resize(longest, ' ');
        marker += '*';
    }
    const long stars = std::count(marker.begin(), marker.end(), '*');
    const size_t fields = stars > 0 ? static_cast<size_t>(stars - 1) : 0;
    // Field i runs from its star to the column before the next one.
    std::vector<size_t> starts;
    for (size_t c = 0; c < marker.size(); ++c) {
        if (marker[c] == '*') starts.push_back(c);
    }
    Grid grid;
    grid.reserve(lines.size() - 1);
    for (size_t r = 1; r < lines.size(); ++r) {
        std::vector<std::string> row;
        row.reserve(fields);
        const std::string_view line = lines[r];
        for (size_t i = 0; i < fields; ++i) {
            const size_t from = starts[i];
            if (from >= line.size()) {
                row.emplace_back();
                continue;
            }
            const std::string_view cell = line.substr(from, starts[i + 1] - starts[i]);
            const size_t end = cell.find_last_not_of(' ');
            row.emplace_back(end == std::string_view::npos ? std::string_view() : cell.substr(0, end + 1));
        }
        grid.push_back(std::move(row));
    }
    return grid;
}

std::vector<std::string> writeStarTable(const Grid& rows, int gap) {
    size_t columns = 0;
    for (const auto& row : rows) columns = std::max(columns, row.size());
    std::vector<size_t> widths(columns, 0);
    for (const auto& row : rows) {
        for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], rightTrimmed(row[c]).size());
    }
    std::string marker = "*";
    for (size_t c = 0; c < columns; ++c) {
        if (widths[c] == 0) continue;
        marker += std::string(widths[c] + static_cast<size_t>(gap) - 1, ' ') + "*";
    }
    marker.pop_back();
    std::vector<std::string> lines{rightTrimmed(marker)};
    for (const auto& row : rows) {
        std::string line;
        for (size_t c = 0; c < columns; ++c) {
            if (widths[c] == 0) continue;
            std::string cell = c < row.size() ? rightTrimmed(row[c]) : std::string();
            cell.resize(widths[c] + static_cast<size_t>(gap), ' ');
            line += cell;
        }
        if (line.rfind("@D", 0) == 0) continue;
        lines.push_back(rightTrimmed(line));
    }
    return lines;
}

long long cellInteger(const std::string& cell) {
    std::string kept;
    for (char c : cell) {
        if (c == '-' || (c >= '0' && c <= '9')) kept += c;
    }
    return text::toIntDef(kept.empty() ? "0" : kept, 0);
}

double cellDecimal(const std::string& cell) { return text::decimalOf(cell); }

std::string cellValuePart(const std::string& cell) {
    const std::string starts = " ()*+,-./:\xB7";
    size_t from = 0;
    while (from < cell.size() && !(cell[from] >= '0' && cell[from] <= '9') &&
           starts.find(cell[from]) == std::string::npos) {
        ++from;
    }
    std::string value = text::trim(cell.substr(from));
    while (value.size() >= 2 && (value[0] == '+' || value[0] == '-') && value[1] == ' ') value.erase(1, 1);
    if (const size_t pair = value.find("  "); pair != std::string::npos) value.resize(pair);
    return value;
}

double GradeReader::read(const std::string& cell) {
    const std::string t = cell;
    double value = 0;
    bool grade = false;
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (t.size() == 2 && digit(t[0]) && (t[1] == '+' || t[1] == '-')) {
        value = (t[0] - '0') + (t[1] == '+' ? -0.25 : 0.25);
        grade = true;
    } else if (t.size() == 3 && digit(t[0]) && t[1] == '/' && digit(t[2])) {
        value = ((t[0] - '0') + (t[2] - '0')) / 2.0;
        grade = true;
    } else {
        value = cellDecimal(t);
    }
    if (grade && m_seen.insert(t).second) m_report.push_back("?Note? " + t + "=" + general(value));
    return value;
}

}  // namespace pictra::tables
