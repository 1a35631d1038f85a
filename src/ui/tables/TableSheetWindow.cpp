#include "TableSheetWindow.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "SheetModel.h"
#include "common/Placement.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "tables/SheetComputing.h"
#include "tables/SheetDocument.h"

namespace pictra::ui {

namespace {

QLineEdit* labelledField(QHBoxLayout* row, const QString& label, const char* name, int width = 50) {
    row->addWidget(new QLabel(label));
    auto* field = new QLineEdit;
    field->setObjectName(name);
    field->setMaximumWidth(width);
    row->addWidget(field);
    return field;
}

QFrame* panel(const char* name) {
    auto* frame = new QFrame;
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->hide();
    return frame;
}

QTableView* makeGrid(const char* name, QAbstractItemModel* model) {
    auto* view = new QTableView;
    view->setObjectName(name);
    view->setModel(model);
    view->horizontalHeader()->setSectionsMovable(true);
    view->verticalHeader()->setSectionsMovable(true);
    view->setEditTriggers(QAbstractItemView::AllEditTriggers);
    return view;
}

// Moving the current cell opens its editor at once, so that editor, not the grid, has
// the keys. As in a grid whose editor is always shown, Enter and the vertical arrows
// leave the cell, and so do the horizontal arrows where the caret stands at that side of
// the text (or the whole text is selected): those keys go on to the grid, whose rules then
// apply (a new column, a new row, the header made editable). What was typed is committed
// first, since a new row or column rebuilds the grid and with it drops the open editor.
class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(QTableView* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* edit = qobject_cast<QLineEdit*>(object);
        if (edit && event->type() == QEvent::KeyPress && leavesCell(*edit, *static_cast<QKeyEvent*>(event))) {
            emit commitData(edit);
            QCoreApplication::sendEvent(m_grid, event);
            return true;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    static bool leavesCell(const QLineEdit& edit, const QKeyEvent& key) {
        if (key.modifiers() & ~Qt::KeypadModifier) return false;
        const bool all = edit.hasSelectedText() && edit.selectedText() == edit.text();
        const bool plain = !edit.hasSelectedText();
        switch (key.key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter: return true;
        case Qt::Key_Right: return all || (plain && edit.cursorPosition() == edit.text().size());
        case Qt::Key_Left: return all || (plain && edit.cursorPosition() == 0);
        default: return false;
        }
    }

    QTableView* m_grid;
};

}  // namespace

TableSheetWindow::TableSheetWindow(Dialogs& dialogs, SettingsStore& store, SheetHost host, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_dialogs(dialogs), m_store(store), m_host(std::move(host)) {
    setObjectName("FORM19");
    setWindowTitle("Tabelle");
    m_model = new SheetModel(m_sheet, this);
    m_secondModel = new SheetModel(m_second, this);
    connect(m_model, &SheetModel::edited, this, [this] { m_modified = true; });
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    buildPanels(central, layout);
    m_splitter = new QSplitter(Qt::Vertical);
    m_grid = makeGrid("StringGrid1", m_model);
    m_secondGrid = makeGrid("StringGrid2", m_secondModel);
    m_splitter->addWidget(m_grid);
    m_splitter->addWidget(m_secondGrid);
    m_splitter->setSizes({1, 0});
    layout->addWidget(m_splitter, 1);
    setCentralWidget(central);
    m_grid->installEventFilter(this);
    m_grid->setItemDelegate(new CellDelegate(m_grid));
    // Dragging the grey numbering row or column swaps fields or records in the data itself.
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionMoved, this, [this](int, int from, int to) {
        const QSignalBlocker block(m_grid->horizontalHeader());
        m_grid->horizontalHeader()->moveSection(to, from);
        m_sheet.moveField(from + 1, to + 1);
        sheetChanged();
    });
    connect(m_grid->verticalHeader(), &QHeaderView::sectionMoved, this, [this](int, int from, int to) {
        const QSignalBlocker block(m_grid->verticalHeader());
        m_grid->verticalHeader()->moveSection(to, from);
        m_sheet.moveRow(from, to);
        sheetChanged();
    });
    buildMenus();
    resizeOnScreen(this, QSize(1000, 700));
}

void TableSheetWindow::buildPanels(QWidget* parent, QVBoxLayout* layout) {
    m_sumPanel = panel("PBerechne");
    auto* sums = new QHBoxLayout(m_sumPanel);
    m_from = labelledField(sums, "von Feldnr.", "Evon");
    m_to = labelledField(sums, "bis Feldnr.", "Ebis");
    m_in = labelledField(sums, "in Feldnr.", "Ein");
    m_compute = new QPushButton("Berechne Summen");
    m_compute->setObjectName("BBerechne");
    sums->addWidget(m_compute);
    sums->addStretch();
    connect(m_compute, &QPushButton::clicked, this, [this] { computeSums(); });

    m_gradePanel = panel("PNote");
    auto* grades = new QHBoxLayout(m_gradePanel);
    m_points = labelledField(grades, "Summe in Feldnr.", "ESumme");
    m_gradeField = labelledField(grades, "Note in Feldnr.", "ENote");
    m_maximum = labelledField(grades, "max", "Emax");
    m_scheme = new QButtonGroup(this);
    const char* schemes[] = {"Note ab Kl.5", "Note Kursstufe", "Note nach Formel"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(schemes[i]);
        radio->setObjectName(QString("RStufe%1").arg(i));
        m_scheme->addButton(radio, i);
        grades->addWidget(radio);
    }
    m_formula = new QLineEdit;
    m_formula->setObjectName("EFormel");
    grades->addWidget(m_formula, 1);
    auto* gradeButton = new QPushButton("Berechne Note");
    gradeButton->setObjectName("BNote");
    grades->addWidget(gradeButton);
    connect(gradeButton, &QPushButton::clicked, this, [this] { computeGrades(); });
    connect(m_scheme, &QButtonGroup::idClicked, this, [this](int id) { schemeChanged(id); });
    connect(m_formula, &QLineEdit::editingFinished, this, [this] {
        if (m_scheme->checkedId() == 2) m_store.writeValue(m_section, "Formel", u(m_formula->text()));
    });

    m_formulaPanel = panel("PRechenausdruck");
    auto* formula = new QVBoxLayout(m_formulaPanel);
    auto* help = new QLabel(message("Geben Sie im rosa Feld unten einen Rechenausdruck ein. Zum Beispiel\r\rf6 = 1/2*f3 "
                                    "+ 1/4*f4 + 1/4*f5\r\rDas bedeutet: In Feld 6 wird die gewichtete Summe von\rFeld 3 "
                                    "(zur Hälfte gewichtet) und Feld 4 und Feld 5 (Gewichtung 1/4)\reingetragen"));
    formula->addWidget(help);
    auto* formulaRow = new QHBoxLayout;
    m_rowFormula = new QLineEdit;
    m_rowFormula->setObjectName("ERechenausdruck");
    m_rowFormula->setStyleSheet("background-color: #ffc0cb;");
    formulaRow->addWidget(m_rowFormula, 1);
    auto* formulaButton = new QPushButton("Berechnen");
    formulaButton->setObjectName("BRechenausdruck");
    formulaRow->addWidget(formulaButton);
    formula->addLayout(formulaRow);
    connect(formulaButton, &QPushButton::clicked, this, [this] { computeRowFormula(); });
    connect(m_rowFormula, &QLineEdit::returnPressed, this, [this] { computeRowFormula(); });

    for (QFrame* p : {m_sumPanel, m_gradePanel, m_formulaPanel}) {
        p->setParent(parent);
        layout->addWidget(p);
    }
}

void TableSheetWindow::showPanel(QFrame* p, bool on) { p->setVisible(on); }

tables::SheetContext TableSheetWindow::context() {
    return {m_sheet, m_dialogs, m_store, m_section, [this](int field) {
                if (field > 0) m_grid->setColumnWidth(field - 1, 50);
                m_model->setTarget(field);
            }};
}

void TableSheetWindow::sheetChanged(bool modifies) {
    m_model->reload();
    if (modifies) m_modified = true;
}

void TableSheetWindow::resetGrids() {
    const QFont font = m_host.editorFont();
    for (QTableView* view : {m_grid, m_secondGrid}) {
        view->setFont(font);
        view->setShowGrid(true);
        view->verticalHeader()->setDefaultSectionSize(std::max(2 * font.pointSize(), view->fontMetrics().height() + 4));
    }
    m_sheet.rows.clear();
    m_second.rows.clear();
    m_model->setTarget(-1);
    m_model->reload();
    m_secondModel->reload();
    m_splitter->setSizes({1, 0});
    for (QFrame* p : {m_sumPanel, m_gradePanel, m_formulaPanel}) showPanel(p, false);
}

void TableSheetWindow::showOnWholeScreen() {
    if (const QScreen* s = screen()) setGeometry(s->availableGeometry());
    showMaximized();
}

void TableSheetWindow::openOnDocument() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    const std::vector<std::string> lines = m_host.documentLines();
    const std::string first = lines.empty() ? std::string() : lines.front();
    switch (tables::classifySheetText(first)) {
    case tables::SheetOpening::CommaVariant:
        showOnWholeScreen();
        m_dialogs.inform(tables::kMsgNotYetReady);
        return;
    case tables::SheetOpening::Table:
        resetGrids();
        loadDocumentText();
        showOnWholeScreen();
        return;
    case tables::SheetOpening::NotATable:
        m_dialogs.inform(tables::kMsgNotATable);
        if (m_dialogs.ask(tables::kAskShowExample) == Answer::Yes) {
            m_host.showExample();
        } else if (m_dialogs.ask(tables::kAskNewTable) == Answer::Yes) {
            m_host.newTable();
        }
        return;
    }
}

void TableSheetWindow::loadDocumentText() {
    m_section = tables::settingsSection(m_host.fileName());
    m_sheet.rows = tables::readStarTable(text::joinLines(m_host.documentLines()));
    // At least five grid rows, so that even a one-record table has room to type.
    const int columns = m_sheet.columns();
    if (columns > 0 && m_sheet.rows.size() < 4) m_sheet.addRecords(4 - static_cast<int>(m_sheet.rows.size()));
    fillSettingsFields();
    applyGridLayout(true);
    setWindowTitle(m_host.caption());
    m_modified = false;
}

void TableSheetWindow::applyGridLayout(bool fixRows) {
    m_model->setTarget(-1);
    m_model->setFixed(fixRows && m_sheet.rows.size() + 1 > 2 ? 2 : 0, m_sheet.columns() > 1 && fixRows ? 1 : 0);
    m_model->reload();
    const int fontSize = m_host.editorFont().pointSize();
    QHeaderView* header = m_grid->horizontalHeader();
    // A shown header works out every section's place anew for each resized one,
    // which is quadratic in the fields of a long marker line; hidden from updates
    // it only stores the sizes and the grid is laid out once afterwards.
    header->setUpdatesEnabled(false);
    // The numbering row's text stays readable even where the field is narrow. Past
    // "Feldnr. 1" its titles are numbers, and numbers of one length are equally
    // wide: one measure per length instead of one per field.
    std::vector<int> numberWidths;
    const auto titleWidth = [&](int section) {
        if (section == 0) return header->sectionSizeHint(0);
        const auto length = static_cast<size_t>(QString::number(section + 1).size());
        if (numberWidths.size() <= length) numberWidths.resize(length + 1, -1);
        if (numberWidths[length] < 0) numberWidths[length] = header->sectionSizeHint(section);
        return numberWidths[length];
    };
    for (int f = 1; f <= m_sheet.columns(); ++f) {
        size_t longest = 3;
        for (const auto& row : m_sheet.rows) longest = std::max(longest, row[static_cast<size_t>(f - 1)].size());
        header->resizeSection(f - 1, std::max(titleWidth(f - 1), std::min(100, fontSize * static_cast<int>(longest))));
    }
    header->setUpdatesEnabled(true);
    m_grid->setFocus();
}

void TableSheetWindow::fillSettingsFields() {
    const tables::SheetSettings s = tables::readSheetSettings(m_store, m_section, m_sheet.columns());
    m_from->setText(q(s.from));
    m_to->setText(q(s.to));
    m_in->setText(q(s.sumField));
    m_points->setText(q(s.pointsField));
    m_gradeField->setText(q(s.gradeField));
    m_maximum->setText(q(s.maximum));
    m_rowFormula->setText(q(s.rowFormula));
    m_scheme->button(s.scheme)->setChecked(true);
    schemeChanged(s.scheme);
}

void TableSheetWindow::schemeChanged(int scheme) {
    const std::string own = m_store.readValue(m_section, "Formel");
    m_formula->setText(q(tables::shownFormula(scheme, own.empty() ? "7 - 6*p/max" : own)));
    m_formula->setReadOnly(scheme != 2);
}

void TableSheetWindow::openEmpty() {
    resetGrids();
    m_section = tables::settingsSection(m_host.fileName());
    m_sheet.rows.assign(100, std::vector<std::string>(10));
    m_model->setFixed(0, 0);
    m_model->reload();
    for (int c = 0; c < 10; ++c) m_grid->setColumnWidth(c, c == 0 ? 100 : 75);
    fillSettingsFields();
    m_modified = false;
    showOnWholeScreen();
}

void TableSheetWindow::openExample() {
    resetGrids();
    loadDocumentText();
    m_from->setText("2");
    m_to->setText("5");
    m_in->setText("6");
    m_points->setText("6");
    m_gradeField->setText("7");
    m_maximum->setText("30");
    m_scheme->button(0)->setChecked(true);
    schemeChanged(0);
    showPanel(m_sumPanel, true);
    showPanel(m_gradePanel, true);
    showOnWholeScreen();
}

void TableSheetWindow::openWithoutFixedRows() {
    resetGrids();
    loadDocumentText();
    m_model->setFixed(0, m_model->fixedColumns());
    showOnWholeScreen();
}

void TableSheetWindow::writeBack(int gap) {
    if (const auto lines = tables::writtenBack(m_sheet, gap, m_host.documentLines())) m_host.setDocumentLines(*lines);
    m_modified = false;
    m_model->setTarget(-1);
    close();
}

void TableSheetWindow::saveAll() {
    writeBack(1);
    m_host.saveDocument();
    showOnWholeScreen();
}

void TableSheetWindow::abandon() {
    m_modified = false;
    close();
}

void TableSheetWindow::reopenAfterWriting() {
    writeBack(1);
    openOnDocument();
}

void TableSheetWindow::closeEvent(QCloseEvent* event) {
    if (m_modified) {
        m_dialogs.inform(tables::kMsgCloseModified);
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TableSheetWindow::addRowsIfAt(int row, int count) {
    if (row < static_cast<int>(m_sheet.recordEnd()) - 1) return;
    m_sheet.addRecords(count);
    m_model->reload();
}

bool TableSheetWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress) return gridKey(static_cast<QKeyEvent*>(event));
    return QMainWindow::eventFilter(watched, event);
}

bool TableSheetWindow::gridKey(QKeyEvent* key) {
    const QModelIndex at = m_grid->currentIndex();
    const int row = at.isValid() ? at.row() : 0;
    const int column = at.isValid() ? at.column() : 0;
    const int lastRow = m_model->rowCount() - 1;
    const int lastColumn = m_model->columnCount() - 1;
    const auto go = [this](int r, int c) { m_grid->setCurrentIndex(m_model->index(r, c)); };
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_enterDown->isChecked() || column >= lastColumn) {
            if (row >= lastRow) addRowsIfAt(row, 1);
            go(row + 1, m_enterDown->isChecked() ? column : m_model->fixedColumns());
        } else {
            go(row, column + 1);
        }
        return true;
    case Qt::Key_Down:
        if (row == 0 && m_model->fixedRows() < 2 && !m_editHeader->isChecked()) m_model->setFixed(2, m_model->fixedColumns());
        if (row >= lastRow) {
            addRowsIfAt(row, 1);
            go(row + 1, column);
            return true;
        }
        return false;
    case Qt::Key_Up:
        if (row == 1 && m_model->fixedRows() == 2) m_model->setFixed(1, m_model->fixedColumns());
        return false;
    case Qt::Key_Right:
        if (column == 0 && m_model->fixedColumns() == 0 && !m_editBorder->isChecked() && lastColumn > 0) {
            m_model->setFixed(m_model->fixedRows(), 1);
        }
        if (column >= lastColumn) {
            m_sheet.setColumns(m_sheet.columns() + 1);
            m_model->reload();
            go(row, column + 1);
            return true;
        }
        return false;
    case Qt::Key_Left:
        if (column == 1 && m_model->fixedColumns() == 1) m_model->setFixed(m_model->fixedRows(), 0);
        return false;
    default:
        return false;
    }
}

}  // namespace pictra::ui
