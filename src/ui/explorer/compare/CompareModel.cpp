#include "CompareModel.h"

#include <QBrush>

#include "common/UiText.h"

namespace pictra::ui {

CompareModel::CompareModel(compare::CompareGrid& grid, QObject* parent) : QAbstractTableModel(parent), m_grid(&grid) {}

void CompareModel::setGrid(compare::CompareGrid& grid) {
    beginResetModel();
    m_grid = &grid;
    endResetModel();
}

int CompareModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_grid->rows());
}

int CompareModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QVariant CompareModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const int column = index.column();
    const auto text = [&]() -> std::string_view {
        return m_grid->cell(column == 1 ? compare::Column::Left : compare::Column::Right, row).text;
    };
    if (role == Qt::DisplayRole) {
        if (column == 0) return index.row() + 1;
        if (column == 2) return QString::fromLatin1(m_grid->marker(row));
        return fromCp1252(std::string(text()));
    }
    if (role == Qt::ForegroundRole && m_highlighting && (column == 1 || column == 3) && text() == m_highlight) {
        return QBrush(Qt::red);
    }
    return {};
}

QVariant CompareModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case 0: return QStringLiteral("Zeile");
        case 1: return QStringLiteral("Eingelesene Datei");
        case 3: return QStringLiteral("Zu vergleichende Datei");
        default: return QString();
    }
}

void CompareModel::setHighlight(const QString& text) {
    m_highlight = toCp1252(text);
    m_highlighting = true;
    if (rowCount() > 0) emit dataChanged(index(0, 1), index(rowCount() - 1, 3), {Qt::ForegroundRole});
}

void CompareModel::refresh() {
    beginResetModel();
    endResetModel();
}

void CompareModel::refreshRow(int row) { emit dataChanged(index(row, 0), index(row, 3)); }

}  // namespace pictra::ui
