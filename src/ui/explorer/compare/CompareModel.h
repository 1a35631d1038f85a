#pragma once

#include <QAbstractTableModel>

#include "explorer/compare/CompareGrid.h"

namespace pictra::ui {

// `StringGrid1` of the compare window: line number, left text, marker, right
// text, straight from the grid (one row is one line, whatever the file's size).
class CompareModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CompareModel(compare::CompareGrid& grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Every cell whose text is exactly this one is drawn in red.
    void setHighlight(const QString& text);
    void setGrid(compare::CompareGrid& grid);
    // After the grid changed under the model.
    void refresh();
    void refreshRow(int row);

private:
    compare::CompareGrid* m_grid;
    std::string m_highlight;
    bool m_highlighting = false;
};

}  // namespace pictra::ui
