#include "CompareWindow.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHideEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

#include "CompareModel.h"
#include "common/Dialogs.h"
#include "common/UiText.h"
#include "explorer/compare/LargePages.h"
#include "explorer/compare/SecondFile.h"
#include "platform/LineDiff.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace {

constexpr const char* kHelp =
    "Links steht die eingelesene Datei, rechts die zu vergleichende Datei.\r\n"
    "\r\n"
    "Wird eine Zeile angeklickt, stehen beide Zeilen oben in den zwei Feldern; dort können Sie sie ändern. Darunter "
    "zeigt \"-\" die Stellen, an denen sich die Zeilen unterscheiden.\r\n"
    "\r\n"
    "Mit der rechten Maustaste auf markierten Zeilen (nur in Spalte 2 oder nur in Spalte 4):\r\n"
    "- \"ausgewählte Zeilen löschen\" schiebt die Zeilen darunter nach oben,\r\n"
    "- \"so viele Leerzeilen einfügen, wie Zeilen markiert sind\" schiebt sie nach unten, bis beide Seiten wieder "
    "gleich laufen,\r\n"
    "- \"ausgewählte Zeilen nach links übertragen\" übernimmt Zeilen der rechten Datei (nur Spalte 4).\r\n"
    "\r\n"
    "\"Automatisch ausrichten\" fügt die Leerzeilen selbst ein, so dass gleiche Zeilen nebeneinander stehen; diese "
    "Leerzeilen kommen nicht in die Datei.\r\n"
    "\"Änderungen übernehmen\" schreibt die linke Seite in die Datei zurück (gespeichert wird erst mit \"Speichern\").";

}  // namespace

CompareWindow::CompareWindow(Dialogs& dialogs, Tones& tones, std::string binFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs), m_tones(tones), m_binFolder(std::move(binFolder)),
      m_grid(std::make_unique<compare::CompareGrid>(std::vector<std::string>{})) {
    setObjectName("Form16vergleich");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFields());
    layout->addWidget(buildButtons());
    m_view = new QTableView(this);
    m_view->setObjectName("StringGrid1");
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    m_view->horizontalHeader()->setStretchLastSection(false);
    m_view->setWordWrap(false);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_model = new CompareModel(*m_grid, this);
    m_view->setModel(m_model);
    layout->addWidget(m_view, 1);
    buildGridMenu();
    connect(m_view, &QTableView::clicked, this, [this](const QModelIndex& index) {
        m_model->setHighlight(index.data().toString());
        showRow(index.row());
    });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) { columnResized(column); });
}

CompareWindow::~CompareWindow() = default;

// What the aligning kept mapped for its next buffers goes back once the window is out of sight.
void CompareWindow::hideEvent(QHideEvent* event) {
    compare::releaseKeptPages();
    QWidget::hideEvent(event);
}

QWidget* CompareWindow::buildFields() {
    auto* box = new QWidget(this);
    auto* grid = new QVBoxLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const auto field = [&](const char* name, const QString& text) {
        auto* edit = new QLineEdit(text, box);
        edit->setObjectName(name);
        edit->setFont(fixed);
        return edit;
    };
    m_count = new QLabel("Bitte zweite Datei auswählen", box);
    m_count->setObjectName("Label2");
    m_count->setAutoFillBackground(true);
    QPalette red = m_count->palette();
    red.setColor(QPalette::Window, Qt::red);
    m_count->setPalette(red);
    m_rowField = field("Edit0", QString());
    m_rowField->setReadOnly(true);
    m_rowField->setMaximumWidth(200);
    m_leftField = field("Edit1", "Wenn eine Zeile angeklickt wird, werden beide Zeilen nach hier oben ...");
    m_rightField = field("Edit2", "... übertragen und die unterschiedlichen Zeichen markiert.");
    m_differenceField = field("Edit3", QString());
    m_differenceField->setReadOnly(true);
    auto* texts = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(m_rowField);
    left->addWidget(m_count);
    left->addStretch();
    texts->addLayout(left);
    auto* both = new QVBoxLayout;
    both->addWidget(m_leftField);
    both->addWidget(m_rightField);
    both->addWidget(m_differenceField);
    texts->addLayout(both, 1);
    grid->addLayout(texts);
    connect(m_leftField, &QLineEdit::textEdited, this, [this](const QString& t) { typed(compare::Column::Left, t); });
    connect(m_rightField, &QLineEdit::textEdited, this, [this](const QString& t) { typed(compare::Column::Right, t); });
    return box;
}

QWidget* CompareWindow::buildButtons() {
    auto* box = new QWidget(this);
    // Two rows, so the window fits a small screen.
    auto* row = new QGridLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    int placed = 0;
    const auto button = [&](const char* name, const QString& text, std::function<void()> command) {
        auto* b = new QPushButton(text, box);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, [command = std::move(command)] { command(); });
        row->addWidget(b, placed / 4, placed % 4);
        ++placed;
    };
    button("BNeu", "Neu vergleichen", [this] { recompare(); });
    button("BZurueck", "Ohne Änderung zurück", [this] { close(); });
    button("BErste", "Erste verschieden Zeile suchen", [this] { findDifferent(false); });
    button("BWeiter", "Ab Cursor weitersuchen", [this] { findDifferent(true); });
    button("BAusrichten", "Automatisch ausrichten", [this] { alignAutomatically(); });
    button("BSicherung", "Mit letzter Sicherung vergleichen", [this] { compareWithBackup(); });
    button("BUebernehmen", "Änderungen übernehmen", [this] { takeOverChanges(); });
    button("BHilfe", "?", [this] { m_dialogs.showText("Zwei Dateien vergleichen", kHelp); });
    return box;
}

void CompareWindow::buildGridMenu() {
    const auto item = [this](const char* name, const QString& text, std::function<void()> command) {
        auto* action = new QAction(text, m_view);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [command = std::move(command)] { command(); });
        m_view->addAction(action);
    };
    item("Zeileaendern1", "Zeile ändern",
         [this] { m_dialogs.inform("Die Zeile können Sie im oberen Editfenster ändern"); });
    item("Zeilenloeschen1", "ausgewählte Zeilen löschen", [this] {
        onSelection(false, [this](const Selection& s) {
            m_grid->deleteCells(s.firstColumn == 2 ? compare::Column::Left : compare::Column::Right,
                                static_cast<std::size_t>(s.top), static_cast<std::size_t>(s.height));
        });
    });
    item("Leerzeileneinfuegen1", "so viele Leerzeilen einfügen, wie Zeilen markiert sind", [this] {
        onSelection(false, [this](const Selection& s) {
            m_grid->insertBlankCells(s.firstColumn == 2 ? compare::Column::Left : compare::Column::Right,
                                     static_cast<std::size_t>(s.top), static_cast<std::size_t>(s.height));
        });
    });
    item("Nachlinks1", "ausgewählte Zeilen nach links übertragen", [this] {
        onSelection(true, [this](const Selection& s) {
            m_grid->moveLeft(static_cast<std::size_t>(s.top), static_cast<std::size_t>(s.height));
        });
    });
}

void CompareWindow::open(const QString& caption, const std::vector<std::string>& lines, const std::string& fileName,
                         TakeOver takeOver) {
    platform::prepareLineDiff();
    m_fileName = fileName;
    m_takeOver = std::move(takeOver);
    m_currentRow = -1;
    m_model->setHighlight(QString());
    m_grid = std::make_unique<compare::CompareGrid>(lines);
    m_model->setGrid(*m_grid);
    setWindowTitle(caption);
    m_count->setText("Bitte zweite Datei auswählen");
    QPalette red = m_count->palette();
    red.setColor(QPalette::Window, Qt::red);
    m_count->setPalette(red);
    // The window covers the whole screen.
    if (QScreen* s = screen()) setGeometry(s->availableGeometry());
    show();
    raise();
    activateWindow();
    setColumnWidths(0, 0, 0);
    if (auto chosen = m_dialogs.chooseOpenFile("Öffnen", fileName)) setSecondFile(*chosen);
    recompare();
}

void CompareWindow::setSecondFile(const std::string& path) {
    auto read = compare::readSecondFile(path);
    if (const auto* message = std::get_if<std::string>(&read)) {
        m_dialogs.inform(*message);
        return;
    }
    m_grid->setRight(std::move(std::get<compare::FileLines>(read)));
}

void CompareWindow::recompare() {
    const std::size_t count = m_grid->recompare();
    m_model->refresh();
    m_count->setText(QString::number(count) + " Zeilen sind verschieden");
    QPalette white = m_count->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_count->setPalette(white);
}

void CompareWindow::showRow(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= m_grid->rows()) return;
    m_rowField->setText(QString::number(row + 1));
    m_leftField->setText(fromCp1252(std::string(m_grid->cell(compare::Column::Left, static_cast<std::size_t>(row)).text)));
    m_rightField->setText(fromCp1252(std::string(m_grid->cell(compare::Column::Right, static_cast<std::size_t>(row)).text)));
    showDifference();
}

void CompareWindow::showDifference() {
    const auto line = compare::differenceLine(toCp1252(m_leftField->text()), toCp1252(m_rightField->text()));
    QPalette palette = m_differenceField->palette();
    palette.setColor(QPalette::Base, line ? QColor(Qt::white) : palette.color(QPalette::Button));
    m_differenceField->setPalette(palette);
    m_differenceField->setText(line ? fromCp1252(*line) : QString("            (Beide Zeilen sind gleich)"));
}

void CompareWindow::typed(compare::Column column, const QString& text) {
    bool ok = false;
    const int row = m_rowField->text().toInt(&ok) - 1;
    if (!ok || row < 0) return;
    m_grid->setText(column, static_cast<std::size_t>(row), toCp1252(text));
    m_model->refreshRow(row);
    showDifference();
}

void CompareWindow::findDifferent(bool fromCurrent) {
    const std::size_t from = fromCurrent ? static_cast<std::size_t>(m_currentRow + 1) : 0;
    const auto row = m_grid->findDifferent(from);
    if (!row) {
        m_tones.chime();
        if (fromCurrent) m_currentRow = -1;
        return;
    }
    m_currentRow = static_cast<int>(*row);
    m_view->selectRow(m_currentRow);
    m_view->scrollTo(m_model->index(m_currentRow, 1), QAbstractItemView::PositionAtCenter);
    showRow(m_currentRow);
}

CompareWindow::Selection CompareWindow::selection() const {
    const QModelIndexList chosen = m_view->selectionModel()->selectedIndexes();
    if (chosen.isEmpty()) return {};
    Selection s{5, 0, static_cast<int>(m_grid->rows()), 0};
    int bottom = -1;
    for (const QModelIndex& index : chosen) {
        s.firstColumn = std::min(s.firstColumn, index.column() + 1);
        s.lastColumn = std::max(s.lastColumn, index.column() + 1);
        s.top = std::min(s.top, index.row());
        bottom = std::max(bottom, index.row());
    }
    s.height = bottom - s.top + 1;
    return s;
}

void CompareWindow::onSelection(bool rightOnly, const std::function<void(const Selection&)>& command) {
    const Selection s = selection();
    if (const auto problem = compare::selectionProblem(s.firstColumn, s.lastColumn, rightOnly)) {
        m_dialogs.inform(*problem);
        return;
    }
    command(s);
    m_view->clearSelection();
    recompare();
}

void CompareWindow::alignAutomatically() {
    const auto keys = m_grid->diffKeys();
    m_grid->align(platform::diffTexts(keys.first.view(), keys.second.view()));
    recompare();
}

void CompareWindow::compareWithBackup() {
    if (m_fileName.empty()) {
        m_dialogs.inform("Die Datei hat noch keinen Namen und daher keine Sicherung.");
        return;
    }
    const auto backup = compare::newestBackup(m_binFolder, m_fileName);
    if (!backup) {
        m_dialogs.inform("Im Papierkorb gibt es keine Sicherung von \"" + m_fileName + "\".");
        return;
    }
    setSecondFile(*backup);
    recompare();
}

void CompareWindow::takeOverChanges() {
    if (m_takeOver) m_takeOver(m_grid->documentLines());
    close();
}

void CompareWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CompareWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    setColumnWidths(0, 0, 0);
}

// Two percent of the screen, but never too narrow for "<--".
int CompareWindow::markerWidth() const {
    const int screenWidth = screen() ? screen()->availableGeometry().width() : width();
    return std::max(2 * (screenWidth / 100), m_view->fontMetrics().horizontalAdvance("<--") + 12);
}

// Widths in percent of the screen: 4, 46, 2 and 46 less 30 pixels; a width
// given replaces the share of its column.
void CompareWindow::setColumnWidths(int first, int second, int fourth) {
    const int screenWidth = screen() ? screen()->availableGeometry().width() : width();
    const int percent = screenWidth / 100;
    m_fitting = true;
    QHeaderView* header = m_view->horizontalHeader();
    header->resizeSection(0, first > 0 ? first : 4 * percent);
    header->resizeSection(1, second > 0 ? second : 46 * percent);
    header->resizeSection(2, markerWidth());
    header->resizeSection(3, fourth > 0 ? fourth : 46 * percent - 30);
    m_fitting = false;
}

// After the user drags a column border the marker column returns to its share
// and the right column takes what is left of the screen.
void CompareWindow::columnResized(int column) {
    if (m_fitting || column == 3) return;
    const int screenWidth = screen() ? screen()->availableGeometry().width() : width();
    QHeaderView* header = m_view->horizontalHeader();
    const int marker = markerWidth();
    const int first = header->sectionSize(0);
    const int second = std::max(20, header->sectionSize(1) + header->sectionSize(2) - marker);
    const int fourth = std::max(20, screenWidth - first - second - marker - 30);
    setColumnWidths(first, second, fourth);
}

}  // namespace pictra::ui
