#pragma once

#include <QMainWindow>
#include <functional>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "settings/SettingsStore.h"
#include "shell/RawPrint.h"
#include "tables/Sheet.h"

class QAction;
class QButtonGroup;
class QFrame;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTableView;
class QVBoxLayout;
class QMenu;
class QKeyEvent;

namespace pictra::ui {

class SheetModel;

// What the sheet needs of the main window's current document.
struct SheetHost {
    std::function<std::vector<std::string>()> documentLines;
    std::function<void(const std::vector<std::string>&)> setDocumentLines;
    std::function<std::string()> fileName;
    std::function<QString()> caption;
    std::function<bool()> saveDocument;
    std::function<QFont()> editorFont;
    // Writes nothing itself: shows a page file in the browser view.
    std::function<void(const std::string& path)> showInBrowser;
    // "tmp.html" beside the document.
    std::function<std::string()> previewFile;
    std::function<RawPrinter&()> printer;
    // The answers to "Soll ein Beispiel ..." and "Soll eine neue Tabelle ...".
    std::function<void()> showExample;
    std::function<void()> newTable;
    std::function<void(const std::string&)> toClipboard;
};

// `FORM19` ("Tabelle"): the star table of the current document as a grid, with
// the computations of the mark list, and the writing back.
class TableSheetWindow : public QMainWindow {
    Q_OBJECT
public:
    TableSheetWindow(Dialogs& dialogs, SettingsStore& store, SheetHost host, QWidget* parent = nullptr);

    // "Tabelle": the checks on the document, then the sheet on it.
    void openOnDocument();
    // "Tabelle ganz neu", "Beispiel einer Tabelle", "Tabelle aus Namensliste erstellen"
    // (the document is prepared by the caller).
    void openEmpty();
    void openExample();
    void openWithoutFixedRows();

    // "Änderungen übernehmen": gap 1 or 0; the sheet closes.
    void writeBack(int gap);
    void saveAll();
    void abandon();

    bool modified() const { return m_modified; }
    tables::Sheet& sheet() { return m_sheet; }
    tables::Sheet& secondSheet() { return m_second; }
    SheetModel& model() { return *m_model; }
    QTableView* grid() const { return m_grid; }
    // Reloads the view after the sheet changed behind it.
    void sheetChanged(bool modifies = true);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPanels(QWidget* parent, QVBoxLayout* layout);
    void buildMenus();
    void buildComputeMenu();
    void buildFieldMenu();
    void buildExchangeMenu();
    void buildPrintMenu();

    // Whole screen and maximised, also where no window manager maximises.
    void showOnWholeScreen();
    void resetGrids();
    void loadDocumentText();
    void applyGridLayout(bool fixRows);
    void fillSettingsFields();
    tables::SheetContext context();
    void showPanel(QFrame* panel, bool on);

    void computeSums();
    void computeGrades();
    void computeRowFormula();
    void schemeChanged(int scheme);
    void showGradeTable(int scheme);
    void joinNames();
    void splitNameField();
    void openSecondTable();
    void checkBankCodes();
    void importSeparated();
    void exportSeparated();
    void exportToSpreadsheet();
    void preparePrint();
    void printThroughBrowser(bool pupils);
    void quickPrint(bool needle);
    void showRecords();
    void swapHint(bool rows);
    void reopenAfterWriting();

    bool gridKey(QKeyEvent* key);
    void addRowsIfAt(int row, int count);

    Dialogs& m_dialogs;
    SettingsStore& m_store;
    SheetHost m_host;
    tables::Sheet m_sheet;
    tables::Sheet m_second;
    std::string m_section;
    SheetModel* m_model = nullptr;
    SheetModel* m_secondModel = nullptr;
    QTableView* m_grid = nullptr;
    QTableView* m_secondGrid = nullptr;
    QSplitter* m_splitter = nullptr;
    QFrame* m_sumPanel = nullptr;
    QFrame* m_gradePanel = nullptr;
    QFrame* m_formulaPanel = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QLineEdit* m_in = nullptr;
    QPushButton* m_compute = nullptr;
    QLineEdit* m_points = nullptr;
    QLineEdit* m_gradeField = nullptr;
    QLineEdit* m_maximum = nullptr;
    QLineEdit* m_formula = nullptr;
    QButtonGroup* m_scheme = nullptr;
    QLineEdit* m_rowFormula = nullptr;
    QAction* m_enterDown = nullptr;
    QAction* m_editHeader = nullptr;
    QAction* m_editBorder = nullptr;
    bool m_modified = false;
};

}  // namespace pictra::ui
