#include "SheetModel.h"

#include <QColor>

#include "common/UiText.h"

namespace pictra::ui {

int SheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_sheet.rows.size());
}

int SheetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_sheet.columns(); }

bool SheetModel::fixedCell(int row, int column) const {
    return (m_fixedRows >= 2 && row == 0) || (m_fixedColumns >= 1 && column == 0);
}

QVariant SheetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return fromCp1252(m_sheet.cell(row, column + 1));
    case Qt::BackgroundRole:
        if (fixedCell(row, column)) return QColor(Qt::lightGray);
        return {};
    case Qt::ForegroundRole:
        if (column + 1 == m_target) return QColor(Qt::red);
        return {};
    default:
        return {};
    }
}

bool SheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    // A character Windows-1252 cannot hold stays as its numeric reference rather than a "?".
    m_sheet.cell(index.row(), index.column() + 1) = toCp1252Referenced(value.toString());
    emit dataChanged(index, index);
    emit edited();
    return true;
}

Qt::ItemFlags SheetModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!fixedCell(index.row(), index.column())) f |= Qt::ItemIsEditable;
    return f;
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal) return section == 0 ? QString("Feldnr. 1") : QString::number(section + 1);
    return QString::number(section + 1);
}

void SheetModel::setFixed(int rows, int columns) {
    m_fixedRows = rows;
    m_fixedColumns = columns;
    if (rowCount() > 0 && columnCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void SheetModel::setTarget(int field) {
    m_target = field;
    if (rowCount() > 0 && columnCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

}  // namespace pictra::ui
