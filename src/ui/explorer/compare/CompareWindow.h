#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "explorer/compare/CompareGrid.h"

class QLabel;
class QLineEdit;
class QTableView;

namespace pictra {
class Dialogs;
class Tones;
}  // namespace pictra

namespace pictra::ui {

class CompareModel;

// `Form16vergleich`: the current document beside a second file, line by line.
class CompareWindow : public QWidget {
    Q_OBJECT
public:
    using TakeOver = std::function<void(const std::vector<std::string>&)>;
    CompareWindow(Dialogs& dialogs, Tones& tones, std::string binFolder, QWidget* parent = nullptr);
    ~CompareWindow() override;

    // Shows the document's lines and asks for the second file, preset to the
    // document's own; `takeOver` gets the left side on "Änderungen übernehmen".
    void open(const QString& caption, const std::vector<std::string>& lines, const std::string& fileName,
              TakeOver takeOver);
    const compare::CompareGrid& grid() const { return *m_grid; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* buildFields();
    QWidget* buildButtons();
    void buildGridMenu();
    void setSecondFile(const std::string& path);
    void recompare();
    void showRow(int row);
    void showDifference();
    void typed(compare::Column column, const QString& text);
    void findDifferent(bool fromCurrent);
    // The grid selection as (first column, last column, top row, height), columns counted from 1.
    struct Selection {
        int firstColumn = 0;
        int lastColumn = 0;
        int top = 0;
        int height = 0;
    };
    Selection selection() const;
    void onSelection(bool rightOnly, const std::function<void(const Selection&)>& command);
    void alignAutomatically();
    void compareWithBackup();
    void takeOverChanges();
    void setColumnWidths(int first, int second, int fourth);
    void columnResized(int column);
    int markerWidth() const;

    Dialogs& m_dialogs;
    Tones& m_tones;
    std::string m_binFolder;
    std::string m_fileName;
    TakeOver m_takeOver;
    std::unique_ptr<compare::CompareGrid> m_grid;
    CompareModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    QLineEdit* m_rowField = nullptr;
    QLineEdit* m_leftField = nullptr;
    QLineEdit* m_rightField = nullptr;
    QLineEdit* m_differenceField = nullptr;
    QLabel* m_count = nullptr;
    int m_currentRow = 0;  // where "Ab Cursor weitersuchen" goes on from
    bool m_fitting = false;
};

}  // namespace pictra::ui
