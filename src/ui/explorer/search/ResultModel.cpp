#include "ResultModel.h"

#include <algorithm>
#include <fstream>

#include "common/CaseFold.h"
#include "common/Codec.h"
#include "explorer/search/ResultCommands.h"
#include "explorer/search/SearchRun.h"

namespace pictra::ui {

int ResultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

QVariant ResultModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole) return displayText(line(index.row()));
    if (role == Qt::ToolTipRole && !m_tooltipText.empty()) {
        // Only the beginning of a large file is read for a tooltip.
        std::ifstream in(filesearch::pathOfResultLine(line(index.row())), std::ios::binary);
        std::string head(1u << 20, '\0');
        in.read(head.data(), static_cast<std::streamsize>(head.size()));
        head.resize(static_cast<std::size_t>(in.gcount()));
        if (auto found = filesearch::firstMatchingLine(head, m_tooltipText, m_matchCase)) return QString::fromUtf8(*found);
    }
    return {};
}

QString ResultModel::displayText(const std::string& bytes) {
    // A name written in Windows-1252 by an old program still reads as it was meant.
    return QString::fromStdString(codec::isValidUtf8(bytes) ? bytes : codec::cp1252ToUtf8(bytes));
}

void ResultModel::clear() { setLines({}); }

void ResultModel::addSorted(std::vector<std::string> lines) {
    if (lines.empty()) return;
    auto less = [](const std::string& a, const std::string& b) { return casefold::lessUtf8(a, b); };
    std::sort(lines.begin(), lines.end(), less);
    std::vector<std::string> merged;
    merged.reserve(m_lines.size() + lines.size());
    std::merge(std::make_move_iterator(m_lines.begin()), std::make_move_iterator(m_lines.end()),
               std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()),
               std::back_inserter(merged), less);
    beginResetModel();
    m_lines = std::move(merged);
    endResetModel();
}

void ResultModel::setLines(std::vector<std::string> lines) {
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
}

}  // namespace pictra::ui
