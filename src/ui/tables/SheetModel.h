#pragma once

#include <QAbstractTableModel>

#include "tables/Sheet.h"

namespace pictra::ui {

// The sheet's cells for a grid view. View row r is sheet row r (the header line
// first); the numbering row "Feldnr. 1", "2", ... is the horizontal header.
// Fixed rows and columns are grey and not editable.
class SheetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SheetModel(tables::Sheet& sheet, QObject* parent = nullptr) : QAbstractTableModel(parent), m_sheet(sheet) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Call around every change of the sheet's shape or of many cells.
    void reload() {
        beginResetModel();
        endResetModel();
    }

    // Fixed rows count the numbering row too (0..2); fixed columns 0 or 1.
    int fixedRows() const { return m_fixedRows; }
    int fixedColumns() const { return m_fixedColumns; }
    void setFixed(int rows, int columns);
    // The field drawn red (-1: none), counted from 1.
    void setTarget(int field);
    int target() const { return m_target; }

signals:
    void edited();

private:
    bool fixedCell(int row, int column) const;

    tables::Sheet& m_sheet;
    int m_fixedRows = 0;
    int m_fixedColumns = 0;
    int m_target = -1;
};

}  // namespace pictra::ui
