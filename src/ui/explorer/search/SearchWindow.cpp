#include "SearchWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QPixmap>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <algorithm>
#include <ctime>
#include <thread>

#include "ResultModel.h"
#include "common/Dialogs.h"
#include "common/MenuCommands.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "explorer/FileLines.h"
#include "explorer/search/SearchRun.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace {

constexpr const char* kSection = "Einstellungen";
constexpr const char* kFolderKey = "Pfad Dateien durchsuchen";
constexpr const char* kBinNote =
    "Im Normalfall werden Dateien nicht gelöscht, sondern in den SKR-Papierkorb verschoben.\rSie können die Dateien "
    "dann über Menü \"Ansicht|SKR-Papierkorb zeigen\" wiederherstellen.\r\rDas Menü \"endgültig löschen\" entfernt Ihre "
    "Dateien sofort!\rDiesen Programmpunkt sollten Sie sich also vorher gut überlegen";

QLineEdit* field(QWidget* parent, const char* name, int width = 0) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (width > 0) edit->setMaximumWidth(width);
    return edit;
}

QPushButton* button(QWidget* parent, const char* name, const char* text) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(name);
    return b;
}

QLabel* label(QWidget* parent, const char* text, const char* name = nullptr) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    if (name) l->setObjectName(name);
    return l;
}

// Workers for walking and reading: every core, at least two so that one file
// waiting for the disk does not hold up the others.
unsigned workerCount() { return std::max(2u, std::thread::hardware_concurrency()); }

}  // namespace

SearchWindow::SearchWindow(SearchShared shared, SearchHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window), m_shared(shared), m_hooks(std::move(hooks)) {
    setObjectName("Form11_suchen");
    setWindowTitle("Suchen");
    buildFields();
    buildMenus();
    buildPopup();
    resize(900, 600);
}

SearchWindow::~SearchWindow() = default;

void SearchWindow::buildFields() {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    grid->addWidget(label(this, "Welche Dateien (bis 3 Suchktiterien)"), 0, 0);
    grid->addWidget(label(this, " Welchen Text (bis 3 Suchriterien)"), 1, 0);
    const char* nameFields[] = {"Edit1", "Edit2", "Edit3"};
    const char* textFields[] = {"Edit4", "Edit5", "Edit6"};
    // Created row by row, so that Tab walks along a row before the next.
    for (int i = 0; i < 3; ++i) grid->addWidget(m_names[i] = field(this, nameFields[i]), 0, 1 + i);
    grid->addWidget(label(this, "nicht"), 0, 4);
    m_nameExclusion = field(this, "Edit8_nicht");
    grid->addWidget(m_nameExclusion, 0, 5);
    for (int i = 0; i < 3; ++i) grid->addWidget(m_texts[i] = field(this, textFields[i]), 1, 1 + i);
    grid->addWidget(label(this, "nicht"), 1, 4);
    m_textExclusion = field(this, "Edit9_text_nicht");
    grid->addWidget(m_textExclusion, 1, 5);

    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    m_folder = field(this, "Edit7");
    row->addWidget(m_folder, 1);
    auto* change = button(this, "Button2", "Ordner ändern");
    connect(change, &QPushButton::clicked, this, [this] { chooseFolder(); });
    row->addWidget(change);
    m_andOr = button(this, "B_und_Oder", "Und");
    connect(m_andOr, &QPushButton::clicked, this,
            [this] { m_andOr->setText(m_andOr->text() == "Und" ? "Oder" : "Und"); });
    row->addWidget(m_andOr);
    row->addWidget(label(this, "max."));
    m_maxAge = field(this, "Emaxalter", 50);
    row->addWidget(m_maxAge);
    row->addWidget(label(this, "min. Alter"));
    m_minAge = field(this, "Eminalter", 50);
    row->addWidget(m_minAge);
    row->addWidget(label(this, "min. KB"));
    m_minKb = field(this, "Emingroesse", 60);
    row->addWidget(m_minKb);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    m_recursive = new QCheckBox("Auch alle Unterordner durchsuchen", this);
    m_recursive->setObjectName("CheckBox1");
    m_recursive->setChecked(true);
    buttons->addWidget(m_recursive);
    m_start = button(this, "Button1", "Start Suche");
    connect(m_start, &QPushButton::clicked, this, [this] { startSearch(); });
    buttons->addWidget(m_start);
    auto* reset = button(this, "Button3", "Zurücksetzten");
    connect(reset, &QPushButton::clicked, this, [this] { clearInput(); });
    buttons->addWidget(reset);
    auto* asText = button(this, "Button4", "Liste als Textdatei");
    connect(asText, &QPushButton::clicked, this, [this] { listAsText(); });
    buttons->addWidget(asText);
    auto* temp1 = button(this, "BTemp1", "Temp1");
    connect(temp1, &QPushButton::clicked, this, [this] {
        m_folder->setText(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation));
    });
    buttons->addWidget(temp1);
    auto* temp2 = button(this, "BTemp2", "Temp2");
    connect(temp2, &QPushButton::clicked, this, [this] {
        // The cache of the desktop's usual web browser profile.
        m_folder->setText(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/mozilla/firefox");
    });
    buttons->addWidget(temp2);
    buttons->addStretch(1);

    auto* counters = new QHBoxLayout;
    layout->addLayout(counters);
    counters->addWidget(label(this, "Anzahl der Dateien"));
    m_count = label(this, "", "LAnzahl");
    counters->addWidget(m_count);
    counters->addWidget(label(this, "Anzahl Bytes"));
    m_bytesLabel = label(this, "", "LBytes");
    counters->addWidget(m_bytesLabel);
    counters->addStretch(1);
    m_shows = label(this, "Zeigt den vollen Dateinamen", "LZeigtNamen");
    layout->addWidget(m_shows);

    m_model = new ResultModel(this);
    m_list = new QListView(this);
    m_list->setObjectName("ListBox1");
    m_list->setModel(m_model);
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* results = new QHBoxLayout;
    layout->addLayout(results, 1);
    results->addWidget(m_list, 1);
    m_preview = new QLabel(this);
    m_preview->setObjectName("Image1");
    m_preview->setFixedWidth(200);
    m_preview->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_preview->hide();
    m_preview->installEventFilter(this);
    results->addWidget(m_preview);
    m_list->installEventFilter(this);
    connect(m_list, &QListView::doubleClicked, this, [this](const QModelIndex& index) { openResult(index.row(), false); });
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex& index) { showClicked(index.row()); });
}

void SearchWindow::buildMenus() {
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    QMenu* file = bar->addMenu("&Datei");
    file->setObjectName("Datei1");
    addMenuCommand(file, "Zurueck1", "Zurück", [this] { close(); })->setShortcut(QKeySequence(Qt::Key_Escape));
    QMenu* copy = bar->addMenu("&Kopieren...");
    copy->setObjectName("Kopieren1");
    addMenuCommand(copy, "AllesAuswaehlen1", "Alles auswählen", [this] { selectAll(); });
    addMenuCommand(copy, "Vormerken1", "ausgewählte Dateien vormerken", [this] { markSelected(); });
    addMenuCommand(copy, "MitOrdnerKopieren1", "Dateien mit Ordner kopieren in folgenden Ordner",
                   [this] { copyWithFolders(); });
    QMenu* remove = bar->addMenu("&Löschen...");
    remove->setObjectName("Loeschen1");
    addMenuCommand(remove, "AllesAuswaehlen2", "Alles auswählen", [this] { selectAll(); });
    addMenuCommand(remove, "Loeschen2", "Löschen", [this] { moveSelectedToBin(); });
    QMenu* note = remove->addMenu("Hinweis...");
    note->setObjectName("Hinweis1");
    addMenuCommand(note, "Hinweis2", "Hinweis", [this] { m_shared.dialogs.inform(kBinNote); });
    addMenuCommand(note, "EndgueltigLoeschen1", "Endgültig löschen", [this] { deleteSelectedForGood(); });
    QMenu* extras = bar->addMenu("&Extras...");
    extras->setObjectName("Extras1");
    addMenuCommand(extras, "EingabeLoeschen1", "Eingabe löschen", [this] { clearInput(); });
    addMenuCommand(extras, "TextErsetzen1", "Text in Datei ersetzten", [this] { askReplacement(); });
    QAction* onTop = addMenuCommand(extras, "ImmerImVordergrund1", "Immer im Vordergrund", [] {});
    onTop->setCheckable(true);
    connect(onTop, &QAction::toggled, this, [this](bool on) {
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
        show();
    });
    addMenuCommand(extras, "AnwendungStarten1", "Anwendung starten", [this] {
        const auto rows = selectedRows();
        if (!rows.empty()) openResult(rows.front(), true);
    });
    addMenuCommand(extras, "Zwischenablage1", "Ausgewählte Dateipfade in die Zwischenablage",
                   [this] { copyPathsToClipboard(); });
    addMenuCommand(extras, "Umbenennen1", "Ausgewählte Dateien umbenennen", [this] { renameSelectedWithHelper(); });
    addMenuCommand(extras, "Duplikate1", "Dateien mit gleichem Namen und gleicher Größe  aussortieren",
                   [this] { sortOutDuplicates(); });
    addMenuCommand(extras, "FalscheLinks1", "Falsche Links suchen", [this] { findWrongLinks(); });
    m_caseAction = addMenuCommand(extras, "GrossKlein1", "Klein und Grossschreibung berücksichtigen",
                                  [this] { askCaseFlag(); });
    m_caseAction->setCheckable(true);
    addMenuCommand(extras, "Test1", "Test", [this] { m_shared.dialogs.inform("Aktion dem Programmierer vorbehalten!"); });
    QMenu* pictures = bar->addMenu("&Bilder");
    pictures->setObjectName("Bilder1");
    addMenuCommand(pictures, "UeberblickJpg1", "Überblick über alle JPG-Bilder des Ordners",
                   [this] { showPictureOverview(); });
}

void SearchWindow::buildPopup() {
    m_popup = new QMenu(this);
    QAction* one = addMenuCommand(m_popup, "EinzelneUmbenennen1", "einzelne Datei umbenennen", [this] { renameOne(); });
    one->setShortcut(QKeySequence("Ctrl+U"));
    one->setShortcutContext(Qt::WindowShortcut);
    addAction(one);
    addMenuCommand(m_popup, "Vormerken2", "ausgewählte  Dateien vormerken", [this] { markSelected(); });
    addMenuCommand(m_popup, "AlleOeffnen1", "Alle ausgewählte Dateien öffnen", [this] { openAllSelected(); });
    addMenuCommand(m_popup, "Loeschen3", "ausgewählte Dateien löschen", [this] { moveSelectedToBin(); });
    addMenuCommand(m_popup, "Umbenennen2", "ausgewählte Dateien umbennen", [this] { renameNumbered(); });
    addMenuCommand(m_popup, "Header1", "Aus dem Header Dateityp ermitteln", [this] { extensionsFromHeader(); });
    addMenuCommand(m_popup, "OrdnerOeffnen1", "Ordner öffnen", [this] { openFolderOfSelected(); });
    addMenuCommand(m_popup, "AnwendungStarten2", "Anwendung starten", [this] {
        for (const auto& path : selectedPaths()) openResultWithHandler(path);
    });
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_popup->popup(m_list->viewport()->mapToGlobal(at)); });
}

void SearchWindow::openFromMainWindow() {
    if (m_model->rowCount() == 0) m_folder->setText(q(m_shared.store.readValue(kSection, kFolderKey)));
    show();
    raise();
    activateWindow();
}

void SearchWindow::openAt(const std::string& folder) {
    m_folder->setText(q(folder));
    show();
    raise();
    activateWindow();
}

std::string SearchWindow::folder() const { return text::trim(u(m_folder->text())); }

filesearch::Criteria SearchWindow::criteria() const {
    filesearch::Criteria c;
    for (int i = 0; i < 3; ++i) {
        c.names[i] = u(m_names[i]->text());
        c.texts[i] = u(m_texts[i]->text());
    }
    c.nameExclusion = u(m_nameExclusion->text());
    c.textExclusion = u(m_textExclusion->text());
    c.orMode = m_andOr->text() == "Oder";
    c.maxAgeDays = filesearch::parseLimit(u(m_maxAge->text()));
    c.minAgeDays = filesearch::parseLimit(u(m_minAge->text()));
    c.minKb = filesearch::parseLimit(u(m_minKb->text()));
    c.matchCase = m_shared.session.matchCase;
    return c;
}

void SearchWindow::clearInput() {
    for (auto* edit : {m_names[0], m_names[1], m_names[2], m_nameExclusion, m_texts[0], m_texts[1], m_texts[2],
                       m_textExclusion, m_maxAge, m_minAge, m_minKb})
        edit->clear();
    m_model->clear();
    m_hitCount = 0;
    m_hitBytes = 0;
    m_count->clear();
    m_bytesLabel->clear();
}

void SearchWindow::chooseFolder() {
    auto chosen = m_shared.dialogs.chooseFolder("Laufwerk und Ordner auswählen.\rDann:\"OK\" anklicken.", folder());
    if (!chosen) return;
    if (!QDir(q(*chosen)).isReadable()) {
        m_shared.dialogs.inform("Auf das Verzeichnis kann zur Zeit nicht zugegriffen werden!");
        return;
    }
    m_folder->setText(q(*chosen));
}

void SearchWindow::updateCounters() {
    m_count->setText(q(explorer::formatSize(m_hitCount)));
    m_bytesLabel->setText(q(explorer::formatSize(m_hitBytes)));
}

void SearchWindow::addLines(std::vector<std::string> lines, std::uintmax_t bytes) {
    m_hitCount += lines.size();
    m_hitBytes += bytes;
    m_model->addSorted(std::move(lines));
    updateCounters();
}

void SearchWindow::startSearch() {
    if (m_searching) return;
    const std::string root = folder();
    if (root.empty()) {
        m_shared.dialogs.inform("Ordner, zum Beispiel \"C:\\Win\" eingeben!");
        return;
    }
    m_searching = true;
    m_start->hide();
    m_hitCount = 0;
    m_hitBytes = 0;
    m_model->clear();
    updateCounters();
    const filesearch::Criteria c = criteria();
    m_model->setTooltipText(c.texts[0], c.matchCase);
    // Both windows to the top of the screen, so the cancel window below leaves the list in sight.
    const QPoint ownPlace = pos();
    if (screen()) move(x(), screen()->availableGeometry().top());
    if (m_hooks.explorerToTop) m_hooks.explorerToTop(true);
    m_shared.dialogs.beginCancelWindow(root);
    if (!m_shared.session.replacement.empty() && !c.orMode && !c.texts[0].empty()) {
        searchWithReplacement(c);
    } else {
        filesearch::SearchRun run(c, root, m_recursive->isChecked(), std::time(nullptr));
        run.start(workerCount());
        auto takeHits = [&] {
            std::vector<std::string> lines;
            std::uintmax_t bytes = 0;
            for (const auto& hit : run.takeHits()) {
                lines.push_back(filesearch::resultLine(hit));
                bytes += hit.size;
            }
            addLines(std::move(lines), bytes);
        };
        while (!run.finished()) {
            // The workers fill the list; this thread shows it about ten times a second.
            run.waitForNews(std::chrono::milliseconds(90));
            takeHits();
            const std::string current = run.currentPath();
            m_shows->setText(ResultModel::displayText(current));
            if (m_shared.dialogs.stepCancelWindow(current)) run.stop();
            if (run.stopped()) break;
        }
        run.stop();
        takeHits();
    }
    m_start->show();
    move(ownPlace);
    if (m_hooks.explorerToTop) m_hooks.explorerToTop(false);
    m_shared.tones.tone(880);
    m_shared.dialogs.endCancelWindow();
    m_shows->clear();
    m_searching = false;
    if (!c.texts[0].empty() && m_hooks.setSearchText) m_hooks.setSearchText(c.texts[0]);
}

// A click shows the path; on a JPEG result also a small picture of it beside the list.
void SearchWindow::showClicked(int row) {
    const std::string path = filesearch::pathOfResultLine(m_model->line(row));
    m_previewPath.clear();
    m_preview->hide();
    m_preview->clear();
    m_shows->setText(ResultModel::displayText(path));
    if (text::toLowerAscii(path).find(".jp") == std::string::npos) return;
    if (m_shared.store.readValue("Einstellungen", "ExplorerBildvorschau") == "Nein") return;
    QImageReader reader(QString::fromStdString(path));
    const QSize size = reader.size();
    if (size.isValid()) reader.setScaledSize(size.scaled(200, 200, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (image.isNull()) return;
    m_preview->setPixmap(QPixmap::fromImage(image));
    m_previewPath = path;
    m_preview->show();
}

// A key press in the list shows the current line in the main window's status text.
bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyRelease && m_hooks.showStatus) {
        const QModelIndex current = m_list->currentIndex();
        if (current.isValid()) m_hooks.showStatus(m_model->line(current.row()));
    }
    if (watched == m_preview && event->type() == QEvent::MouseButtonPress && !m_previewPath.empty() &&
        m_hooks.showPicture)
        m_hooks.showPicture(m_previewPath, {m_previewPath});
    return QWidget::eventFilter(watched, event);
}

void SearchWindow::closeEvent(QCloseEvent* event) {
    m_shared.store.writeValue(kSection, kFolderKey, folder());
    if (windowFlags() & Qt::WindowStaysOnTopHint) setWindowFlag(Qt::WindowStaysOnTopHint, false);
    if (auto* onTop = findChild<QAction*>("ImmerImVordergrund1")) onTop->setChecked(false);
    QWidget::closeEvent(event);
}

std::vector<int> SearchWindow::selectedRows() const {
    std::vector<int> rows;
    for (const auto& index : m_list->selectionModel()->selectedIndexes()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<std::string> SearchWindow::selectedPaths() const {
    std::vector<std::string> paths;
    for (int row : selectedRows()) paths.push_back(filesearch::pathOfResultLine(m_model->line(row)));
    return paths;
}

std::vector<std::string> SearchWindow::allPaths() const {
    std::vector<std::string> paths;
    for (const auto& line : m_model->lines()) paths.push_back(filesearch::pathOfResultLine(line));
    return paths;
}

void SearchWindow::selectAll() { m_list->selectAll(); }

void SearchWindow::selectRows(const std::vector<int>& rows) {
    m_list->clearSelection();
    for (int row : rows) m_list->selectionModel()->select(m_model->index(row), QItemSelectionModel::Select);
}

}  // namespace pictra::ui
