#include "TableFormWindow.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/MenuCommands.h"
#include "common/Placement.h"
#include "common/UiText.h"

namespace pictra::ui {

namespace {

QCheckBox* checkBox(const char* name, const QString& text, bool on) {
    auto* box = new QCheckBox(text);
    box->setObjectName(name);
    box->setChecked(on);
    return box;
}

}  // namespace

TableFormWindow::TableFormWindow(QWidget* parent) : QDialog(parent, Qt::Window) {
    setObjectName("Form9tabelle");
    setWindowTitle("Tabellen");
    auto* layout = new QVBoxLayout(this);
    buildMenus(layout);
    // Row 0 and column 0 of the design are the grey headers here; data starts at (1, 1).
    m_grid = new QTableWidget(10, 5, this);
    m_grid->setObjectName("StringGrid1");
    m_grid->horizontalHeader()->setSectionsMovable(true);
    m_grid->verticalHeader()->setSectionsMovable(true);
    // The grey row and column are handles for dragging, 10 pixels as the form was designed.
    m_grid->horizontalHeader()->setFixedHeight(10);
    m_grid->verticalHeader()->setFixedWidth(10);
    m_grid->setHorizontalHeaderLabels(QStringList(5, QString()));
    m_grid->setVerticalHeaderLabels(QStringList(10, QString()));
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->installEventFilter(this);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu;
        menu.addAction(m_enterRight);
        menu.addAction(m_enterDown);
        menu.exec(m_grid->viewport()->mapToGlobal(at));
    });
    layout->addWidget(m_grid, 1);
    buildOptions(layout);
    connect(this, &QDialog::rejected, this, [this] { m_result = tables::kTableCancelled; });
}

void TableFormWindow::buildMenus(QVBoxLayout* layout) {
    auto* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu("&Datei");
    addMenuCommand(file, "Zurueck1", "Zurück", [this] { giveBack(); });
    addMenuCommand(file, "Abbruch1", "Abbruch", [this] { cancel(); });
    QMenu* edit = bar->addMenu("&Bearbeiten");
    addMenuCommand(edit, "Allesloeschen1", "Alles löschen", [this] { clearAll(); });
    layout->setMenuBar(bar);
    auto* group = new QActionGroup(this);
    m_enterRight = group->addAction("return = Spalte weiter rechts");
    m_enterRight->setObjectName("ReturnRechts1");
    m_enterDown = group->addAction("return = Zeile tiefer");
    m_enterDown->setObjectName("ReturnTiefer1");
    for (QAction* a : {m_enterRight, m_enterDown}) a->setCheckable(true);
    m_enterRight->setChecked(true);
}

void TableFormWindow::buildOptions(QVBoxLayout* layout) {
    auto* form = new QFormLayout;
    m_heading = new QLineEdit;
    m_heading->setObjectName("EKopfzeile");
    form->addRow("Kopfzeile in der Tabelle", m_heading);
    m_border = new QSpinBox;
    m_border->setObjectName("SpinEdit1");
    m_border->setValue(1);
    form->addRow("Dicke Rand", m_border);
    m_indent = new QSpinBox;
    m_indent->setObjectName("SpinEdit2");
    m_indent->setToolTip("Bei Tabelle in der Tabelle: 6");
    form->addRow("Leerstellen zu Anfang", m_indent);
    m_above = new QLineEdit;
    m_above->setObjectName("Eueber");
    form->addRow("Überschrift", m_above);
    m_below = new QLineEdit;
    m_below->setObjectName("Eunter");
    form->addRow("Text unter der Tabelle", m_below);
    m_firstRow = checkBox("CheckBox1", "Erste Reihe hervorheben", false);
    m_centreTable = checkBox("CheckBox2", "Tabelle zentral", false);
    m_centreText = checkBox("CheckBox3", "Text zentral", false);
    m_compressed = checkBox("CheckBox4", "komprimiert darstellen", true);
    m_equalWidths = checkBox("CheckBox5", "Spalten mit gleiche Breite (insgesamt)", true);
    m_width = new QLineEdit("750");
    m_width->setObjectName("EBreite");
    connect(m_equalWidths, &QCheckBox::toggled, m_width, &QWidget::setEnabled);
    for (QCheckBox* box : {m_firstRow, m_centreTable, m_centreText, m_compressed}) form->addRow(box);
    form->addRow(m_equalWidths, m_width);
    layout->addLayout(form);
}

void TableFormWindow::openTableForm(bool stayOnTop, const QFont& font) {
    setWindowFlag(Qt::WindowStaysOnTopHint, stayOnTop);
    placeFrame(this, availableArea(this));
    m_grid->setFont(font);
    m_grid->verticalHeader()->setDefaultSectionSize(std::max(2 * font.pointSize(), m_grid->fontMetrics().height() + 4));
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_grid->clearContents();
    m_result = tables::kTableCancelled;
}

void TableFormWindow::fillFromLines(const std::vector<std::string>& lines, int rowsPerColumn) {
    const tables::Grid cells = tables::fillFromLines(lines, rowsPerColumn);
    int columns = 0;
    for (const auto& row : cells) columns = std::max(columns, static_cast<int>(row.size()));
    m_grid->setRowCount(std::max(m_grid->rowCount(), static_cast<int>(cells.size())));
    m_grid->setColumnCount(std::max(m_grid->columnCount(), columns));
    for (size_t r = 0; r < cells.size(); ++r) {
        for (size_t c = 0; c < cells[r].size(); ++c) {
            m_grid->setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(fromCp1252(cells[r][c])));
        }
    }
}

tables::HtmlTableOptions TableFormWindow::options() const {
    tables::HtmlTableOptions o;
    o.heading = toCp1252Referenced(m_heading->text());
    o.border = m_border->value();
    o.indent = m_indent->value();
    o.captionAbove = toCp1252Referenced(m_above->text());
    o.captionBelow = toCp1252Referenced(m_below->text());
    o.firstRowHeader = m_firstRow->isChecked();
    o.centreTable = m_centreTable->isChecked();
    o.centreText = m_centreText->isChecked();
    o.compressed = m_compressed->isChecked();
    o.equalWidths = m_equalWidths->isChecked();
    o.totalWidth = u(m_width->text());
    return o;
}

std::string TableFormWindow::writeTable() const {
    // Cells in the order the user sees them, also after dragging rows or columns.
    tables::Grid cells(static_cast<size_t>(m_grid->rowCount()));
    const QHeaderView* rows = m_grid->verticalHeader();
    const QHeaderView* columns = m_grid->horizontalHeader();
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        for (int c = 0; c < m_grid->columnCount(); ++c) {
            const QTableWidgetItem* item = m_grid->item(rows->logicalIndex(r), columns->logicalIndex(c));
            cells[static_cast<size_t>(r)].push_back(item ? toCp1252Referenced(item->text()) : std::string());
        }
    }
    return tables::writeHtmlTable(cells, options());
}

void TableFormWindow::clearAll() {
    m_heading->clear();
    m_grid->clearContents();
}

void TableFormWindow::giveBack() {
    m_result = writeTable();
    const std::string table = m_result;
    accept();
    if (onReturn) onReturn(table);
}

void TableFormWindow::cancel() {
    m_result = tables::kTableCancelled;
    reject();
}

bool TableFormWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_grid || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int row = m_grid->currentRow();
    const int column = m_grid->currentColumn();
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const bool lastRow = row >= m_grid->rowCount() - 1;
    const bool lastColumn = column >= m_grid->columnCount() - 1;
    if (enter) {
        const bool down = m_enterDown->isChecked();
        if (down && lastRow) m_grid->setRowCount(m_grid->rowCount() + 1);
        if (!down && lastColumn) m_grid->setColumnCount(m_grid->columnCount() + 1);
        m_grid->setCurrentCell(down ? row + 1 : row, down ? column : column + 1);
        return true;
    }
    if (key->key() == Qt::Key_Down && lastRow) m_grid->setRowCount(m_grid->rowCount() + 1);
    if (key->key() == Qt::Key_Right && lastColumn) m_grid->setColumnCount(m_grid->columnCount() + 1);
    return QDialog::eventFilter(watched, event);
}

}  // namespace pictra::ui
