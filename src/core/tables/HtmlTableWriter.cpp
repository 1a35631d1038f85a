#include "HtmlTableWriter.h"

#include <algorithm>

#include "common/Text.h"

namespace pictra::tables {

std::string writeHtmlTable(const Grid& cells, const HtmlTableOptions& o) {
    size_t rows = 0;
    size_t columns = 0;
    for (size_t r = 0; r < cells.size(); ++r) {
        for (size_t c = 0; c < cells[r].size(); ++c) {
            if (cells[r][c].empty()) continue;
            rows = std::max(rows, r + 1);
            columns = std::max(columns, c + 1);
        }
    }
    if (columns == 0) return {};
    const std::string percent = std::to_string(100 / columns);
    std::string out = "<table";
    if (o.equalWidths) out += " width=" + std::to_string(text::parseInt(o.totalWidth).value_or(800));
    if (o.border > 0) out += " border=" + std::to_string(o.border);
    if (o.centreTable) out += " align=center";
    out += ">";
    if (!o.captionAbove.empty()) out += "<caption align=top>" + o.captionAbove;
    if (!o.captionBelow.empty()) out += "<caption align=bottom>" + o.captionBelow;
    if (!o.heading.empty()) out += "\r\n<th colspan=" + std::to_string(columns) + ">" + o.heading + "</th>";
    const std::string tagBreak = o.compressed ? "" : "\r\n    ";
    const std::string contentBreak = o.compressed ? "" : "\r\n      ";
    for (size_t r = 0; r < rows; ++r) {
        const bool header = r == 0 && o.firstRowHeader;
        std::string open = tagBreak + (header ? "<th" : "<td");
        if (o.centreText) open += " align=center";
        if (o.equalWidths) open += " width=\"" + percent + "%\"";
        const std::string close = tagBreak + (header ? "</th>" : "</td>");
        std::string row = o.compressed ? "  <tr>\r\n    " : "  <tr>";
        for (size_t c = 0; c < columns; ++c) {
            const std::string cell = c < cells[r].size() ? cells[r][c] : std::string();
            row += open + ">" + contentBreak + (text::trim(cell).empty() ? "&nbsp;" : cell) + close;
        }
        out += "\r\n" + row + "\r\n  </tr>";
    }
    out += "\r\n</table>";
    if (o.indent > 0) {
        const std::string blanks(static_cast<size_t>(o.indent), ' ');
        out = blanks + text::replaceAll(out, "\r\n", "\r\n" + blanks);
    }
    return out;
}

Grid fillFromLines(const std::vector<std::string>& lines, int rowsPerColumn) {
    const size_t n = static_cast<size_t>(std::max(rowsPerColumn, 1));
    Grid cells(std::min(n, lines.size()));
    for (size_t i = 0; i < lines.size(); ++i) {
        auto& row = cells[i % n];
        row.resize(std::max(row.size(), i / n + 1));
        row[i / n] = lines[i];
    }
    return cells;
}

}  // namespace pictra::tables
