#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "tables/HtmlTableWriter.h"

class QAction;
class QCheckBox;
class QLineEdit;
class QSpinBox;
class QTableWidget;
class QVBoxLayout;

namespace pictra::ui {

// `Form9tabelle` ("Tabellen"): cell texts typed into a grid become an HTML table.
class TableFormWindow : public QDialog {
    Q_OBJECT
public:
    explicit TableFormWindow(QWidget* parent = nullptr);

    // Prepares the form for a new table: on top when called from the main window,
    // the editor's font, every cell empty.
    void openTableForm(bool stayOnTop, const QFont& font);
    void fillFromLines(const std::vector<std::string>& lines, int rowsPerColumn);
    // The HTML table of the filled cells (Windows-1252).
    std::string writeTable() const;
    // The table after "Zurück", or the cancel value after "Abbruch" or closing.
    const std::string& result() const { return m_result; }
    // Called after "Zurück" with the table (the main window puts it on the clipboard).
    std::function<void(const std::string&)> onReturn;

    QTableWidget* grid() const { return m_grid; }
    tables::HtmlTableOptions options() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus(QVBoxLayout* layout);
    void buildOptions(QVBoxLayout* layout);
    void clearAll();
    void giveBack();
    void cancel();

    QTableWidget* m_grid = nullptr;
    QLineEdit* m_heading = nullptr;
    QSpinBox* m_border = nullptr;
    QSpinBox* m_indent = nullptr;
    QLineEdit* m_above = nullptr;
    QLineEdit* m_below = nullptr;
    QCheckBox* m_firstRow = nullptr;
    QCheckBox* m_centreTable = nullptr;
    QCheckBox* m_centreText = nullptr;
    QCheckBox* m_compressed = nullptr;
    QCheckBox* m_equalWidths = nullptr;
    QLineEdit* m_width = nullptr;
    QAction* m_enterRight = nullptr;
    QAction* m_enterDown = nullptr;
    std::string m_result = tables::kTableCancelled;
};

}  // namespace pictra::ui
