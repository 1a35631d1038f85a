#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace pictra::ui {

// The search window's result lines: kept sorted as in a sorted list box (case
// ignored), or in the order given when a command puts its own list in. Lines hold
// the paths' bytes; what cannot be read as UTF-8 is shown with replacement marks.
class ResultModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // A line or path as shown: UTF-8, or else read as Windows-1252.
    static QString displayText(const std::string& bytes);

    const std::vector<std::string>& lines() const { return m_lines; }
    const std::string& line(int row) const { return m_lines[static_cast<std::size_t>(row)]; }
    void clear();
    // New lines into their sorted places; one reset per batch keeps 100,000 lines quick.
    void addSorted(std::vector<std::string> lines);
    // The list as given (a command's own list, not sorted).
    void setLines(std::vector<std::string> lines);
    // The text whose first matching line becomes a hit's tooltip (empty: none).
    void setTooltipText(std::string text, bool matchCase) {
        m_tooltipText = std::move(text);
        m_matchCase = matchCase;
    }

private:
    std::vector<std::string> m_lines;
    std::string m_tooltipText;
    bool m_matchCase = false;
};

}  // namespace pictra::ui
