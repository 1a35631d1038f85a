#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "settings/SettingsStore.h"
#include "tables/StarTable.h"

// The data of the table sheet and what its commands share: the grid, the
// per-table settings and the ports through which a command asks the user.
namespace pictra::tables {

// The sheet's cells: rows[0] is the header line, the records follow; a last row
// whose first cell begins with "@D@" is the print-selection row. Field f (counted
// from 1) is column f - 1. Cells are Windows-1252.
struct Sheet {
    Grid rows;

    int columns() const { return rows.empty() ? 0 : static_cast<int>(rows.front().size()); }
    bool hasPrintRow() const;
    // Records are rows 1 .. recordEnd() - 1.
    int recordEnd() const;
    bool validField(long long f) const { return f >= 1 && f <= columns(); }
    std::string& cell(int row, int field) { return rows[static_cast<size_t>(row)][static_cast<size_t>(field - 1)]; }
    const std::string& cell(int row, int field) const {
        return rows[static_cast<size_t>(row)][static_cast<size_t>(field - 1)];
    }

    // Every row gets `count` cells (new ones empty); at least one row remains.
    void setColumns(int count);
    // Empty records in front of the print-selection row.
    void addRecords(int count);
    // The end of the records without the empty ones at the end (the grid's spare rows).
    int filledEnd() const;
    void dropTrailingEmptyRecords();
    void insertField(int field);
    void removeField(int field);
    // Moves a whole row or field to another place (dragging in the window).
    void moveRow(int from, int to);
    void moveField(int from, int to);
};

// "Tabellenberechnung" followed by the character of the byte sum of the file's
// name and extension (modulo 255, raised by 32 below 32), as UTF-8.
std::string settingsSection(const std::string& fileName);

// The per-table settings with their defaults for a grid of `columns` columns.
struct SheetSettings {
    std::string from, to, sumField, pointsField, gradeField, maximum, formula, order, rowFormula;
    int scheme = 0;
};
SheetSettings readSheetSettings(const SettingsStore& store, const std::string& section, int columns);

// What a command of the sheet needs besides the cells.
struct SheetContext {
    Sheet& sheet;
    Dialogs& dialogs;
    SettingsStore& store;
    std::string section;
    // Draws the field that the running computation overwrites (-1: none).
    std::function<void(int)> markTarget = [](int) {};
};

inline constexpr const char* kMsgAbort = "Abbruch!";

// The number patterns of the sheet, with the German decimal comma.
std::string formatValue(double value, const char* pattern);

}  // namespace pictra::tables
