#include "ExplorerWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>
#include <sys/stat.h>

#include "common/Dialogs.h"
#include "common/Placement.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "explorer/Drives.h"
#include "explorer/FileLines.h"
#include "platform/Desktop.h"
#include "platform/Drives.h"
#include "platform/FolderListing.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr const char* kSearchFolder = "Ordner_suchen";
constexpr const char* kOwnFiles = "Eigene Dateien";
constexpr const char* kNoFolderAccess = "Auf den Ordner kann zur Zeit nicht zugegriffen werden!";

QString shown(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }
std::string bytesOf(const QVariant& v) { return v.toByteArray().toStdString(); }

std::string parentOf(const std::string& folder) {
    if (folder.size() <= 1) return "/";
    const size_t slash = folder.find_last_of('/', folder.size() - 2);
    return slash == 0 || slash == std::string::npos ? "/" : folder.substr(0, slash);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string withoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

ExplorerWindow::ExplorerWindow(ExplorerShared& shared, char number, ExplorerHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window), m_shared(shared), m_number(number), m_hooks(std::move(hooks)) {
    setObjectName(number == '1' ? "Form10dummy" : "Form10dummy_1");
    buildLayout();
    fillDriveList();
    place(ExplorerLayout::Stored);
    setWindowTitle("SKR-Explorer");
}

void ExplorerWindow::buildLayout() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QMenuBar(this);
    outer->setMenuBar(bar);
    m_outer = new QSplitter(Qt::Horizontal, this);
    m_outer->setObjectName("Splitter2");
    outer->addWidget(m_outer);
    m_panel1 = new QWidget(m_outer);
    m_panel1->setObjectName("Panel1");
    auto* leftLayout = new QVBoxLayout(m_panel1);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    m_left = new QSplitter(Qt::Vertical, m_panel1);
    m_left->setObjectName("Splitter1");
    leftLayout->addWidget(m_left);
    m_drives = new QListWidget(m_left);
    m_drives->setObjectName("ListView1");
    m_drives->setStyleSheet("QListWidget { background: #00ffff; } QListWidget::item:hover { text-decoration: underline; }");
    m_drives->setMouseTracking(true);
    m_tree = new QListWidget(m_left);
    m_tree->setObjectName("DirectoryListBox1");
    m_tree->setStyleSheet("QListWidget { background: " + colourFromWindows(8947967).name() + "; }");
    m_tree->viewport()->installEventFilter(this);
    m_panel2 = new QWidget(m_outer);
    m_panel2->setObjectName("Panel2");
    auto* rightLayout = new QVBoxLayout(m_panel2);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    m_files = new QListWidget(m_panel2);
    m_files->setObjectName("ListBox1");
    m_files->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_files->setUniformItemSizes(true);
    QFont fixed("Courier New", 10);
    fixed.setStyleHint(QFont::Monospace);  // columns must line up whatever font stands in for it
    m_files->setFont(fixed);
    m_files->setStyleSheet("QListWidget { background: " + colourFromWindows(14680031).name() + "; }");
    m_files->setContextMenuPolicy(Qt::CustomContextMenu);
    rightLayout->addWidget(m_files);
    m_outer->setStretchFactor(1, 3);

    m_chronicleButton = new QPushButton("Chr", m_tree);
    m_chronicleButton->setObjectName("Bhistory");
    m_chronicleButton->setToolTip("Chronik: zeigt alle bisher angeklickten Ordner");
    m_noteButton = new QPushButton("?", m_tree);
    m_noteButton->setObjectName("BHinweis");
    m_noteButton->setToolTip("Hinweis:Doppelklick auf Ordnersymbol zeigt alle Unterordner des Ordners.");
    for (auto* b : {m_chronicleButton, m_noteButton}) b->setFixedSize(28, 20);
    m_tree->installEventFilter(this);
    m_preview = new QLabel(m_tree->viewport());
    m_preview->setObjectName("Bildvorschau");
    m_preview->hide();

    connect(m_drives, &QListWidget::itemClicked, this, &ExplorerWindow::driveClicked);
    connect(m_tree, &QListWidget::itemClicked, this, &ExplorerWindow::folderClicked);
    connect(m_files, &QListWidget::itemClicked, this, &ExplorerWindow::fileClicked);
    connect(m_files, &QListWidget::itemDoubleClicked, this, [this] {
        m_lastClickedFile.clear();
        openSelected();
    });
    connect(m_files, &QListWidget::itemSelectionChanged, this, &ExplorerWindow::updateSelectionCaption);
    connect(m_chronicleButton, &QPushButton::clicked, this, &ExplorerWindow::showChronicleMenu);
    connect(m_noteButton, &QPushButton::clicked, this, &ExplorerWindow::showNote);
    buildMenus(bar);
    buildFilePopup();
    buildFolderPopup();
}

void ExplorerWindow::fillDriveList() {
    m_drives->clear();
    const std::string stored = m_shared.store.readValue(section(), "Laufwerk");
    // The explorer never starts on a floppy drive.
    if (!stored.empty() && (stored[0] == 'a' || stored[0] == 'A')) m_shared.store.writeValue(section(), "Laufwerk", "");
    m_drives->addItem(kSearchFolder);
    m_drives->addItem(kOwnFiles);
    for (const auto& drive : platform::mountedDrives()) {
        auto* item = new QListWidgetItem(shown(explorer::driveEntryText(drive.root, drive.typeWord, drive.label)));
        item->setData(kPathRole, QByteArray::fromStdString(drive.root));
        m_drives->addItem(item);
    }
}

void ExplorerWindow::start(const std::string& path) {
    show();
    raise();
    std::string folder;
    if (!path.empty()) {
        folder = isFolder(path) ? path : parentOf(path);
    } else {
        const std::string drive = m_shared.store.readValue(section(), "Laufwerk");
        if (drive.empty()) return;
        folder = m_shared.store.readValue(section(), "Explorer" + drive);
    }
    if (folder.empty()) return;
    if (goToFolder(folder)) showFiles(folder);
}

bool ExplorerWindow::goToFolder(const std::string& rawFolder) {
    const std::string folder = withoutTrailingSlash(rawFolder);
    if (!isFolder(folder)) return false;
    rebuildTree(folder, folder);
    return true;
}

// The tree as a folder list box shows it: every ancestor of the opened folder,
// indented by its depth, then the opened folder's subfolders one step further in.
void ExplorerWindow::rebuildTree(const std::string& opened, const std::string& selected) {
    m_openedFolder = opened;
    m_tree->clear();
    std::vector<std::string> chain;
    for (std::string f = opened; ; f = parentOf(f)) {
        chain.push_back(f);
        if (f == "/") break;
    }
    int depth = 0;
    auto add = [this, &selected](const std::string& path, const std::string& name, int level) {
        auto* item = new QListWidgetItem(QString(level * 2, ' ') + shown(name));
        item->setData(kPathRole, QByteArray::fromStdString(path));
        m_tree->addItem(item);
        if (path == selected) m_tree->setCurrentItem(item);
    };
    for (auto it = chain.rbegin(); it != chain.rend(); ++it, ++depth) {
        add(*it, *it == "/" ? "/" : it->substr(it->find_last_of('/') + 1), depth);
    }
    for (const auto& name : platform::subfoldersOf(opened)) add(joinPath(opened, name), name, depth);
}

void ExplorerWindow::showFiles(const std::string& rawFolder) {
    if (rawFolder.empty()) return;
    const std::string folder = withoutTrailingSlash(rawFolder);
    bool cancelWindow = false;
    const auto listing = platform::listFolder(folder, [this, &cancelWindow](size_t count) {
        if (!cancelWindow) {
            m_shared.dialogs.beginCancelWindow("Ordner wird gelesen");
            cancelWindow = true;
        }
        return !m_shared.dialogs.stepCancelWindow(std::to_string(count) + " Einträge gelesen");
    });
    if (cancelWindow) m_shared.dialogs.endCancelWindow();
    if (!listing.ok) {
        m_shared.dialogs.inform(kNoFolderAccess);
        return;
    }
    m_folder = folder;
    const auto lines = explorer::buildFileLines(listing.files);
    m_files->setUpdatesEnabled(false);
    m_refilling = true;
    m_files->clear();
    for (const auto& line : lines) {
        auto* item = new QListWidgetItem(shown(line.text));
        item->setData(kPathRole, QByteArray::fromStdString(line.name));
        m_files->addItem(item);
    }
    m_refilling = false;
    m_files->setUpdatesEnabled(true);
    setWindowTitle(shown(explorer::listingCaption(listing.subfolders, static_cast<int>(lines.size()), folder)) +
                   (listing.cancelled ? " (abgebrochen)" : ""));
}

void ExplorerWindow::driveClicked(QListWidgetItem* item) {
    if (!item) {
        fillDriveList();
        return;
    }
    if (item->text() == kSearchFolder) {
        searchFolder();
        return;
    }
    if (item->text() == kOwnFiles) {
        openDocumentsFolder();
        return;
    }
    const std::string drive = bytesOf(item->data(kPathRole));
    if (!goToFolder(drive)) {
        m_shared.dialogs.inform("Laufwerk nicht betriebsbereit");
        return;
    }
    const std::string stored = m_shared.store.readValue(section(), "Explorer" + drive);
    const std::string folder = !stored.empty() && isFolder(stored) ? stored : drive;
    goToFolder(folder);
    showFiles(folder);
    m_shared.store.writeValue(section(), "Laufwerk", drive);
    show();
}

void ExplorerWindow::searchFolder() {
    auto chosen = m_shared.dialogs.chooseFolder("Laufwerk und Ordner auswählen.\rDann:\"OK\" anklicken.", m_folder);
    if (!chosen) return;
    if (!goToFolder(*chosen)) {
        m_shared.dialogs.inform("Auf das Verzeichnis kann zur Zeit nicht zugegriffen werden!");
        return;
    }
    rememberFolder(*chosen);
    showFiles(*chosen);
}

void ExplorerWindow::openDocumentsFolder() {
    const std::string documents = platform::documentsFolder();
    const std::string stored = m_shared.store.readValue(section(), "ExplorerED");
    const std::string folder = !stored.empty() && isFolder(stored) ? stored : documents;
    goToFolder(folder);
    showFiles(folder);
}

void ExplorerWindow::folderClicked(QListWidgetItem* item) {
    if (!item) return;
    clearPreview();
    m_lastClickedFile.clear();
    const std::string folder = bytesOf(item->data(kPathRole));
    if (!isFolder(folder)) {
        m_shared.dialogs.inform(kNoFolderAccess);
        return;
    }
    if (folder == m_lastClickedFolder) {
        // Second click = double click: the folder's subfolders are listed.
        rebuildTree(folder, folder);
    }
    m_lastClickedFolder = folder;
    showFiles(folder);
    rememberFolder(folder);
}

// The folder is stored for its drive (and inside the documents folder) and joins the chronicle.
void ExplorerWindow::rememberFolder(const std::string& folder) {
    const std::string drive = platform::driveOf(folder);
    m_shared.store.writeValue(section(), "Explorer" + drive, folder);
    m_shared.store.writeValue(section(), "Laufwerk", drive);
    const std::string documents = platform::documentsFolder();
    if (folder.rfind(documents, 0) == 0) m_shared.store.writeValue(section(), "ExplorerED", folder);
    m_shared.chronicle.add(folder);
}

std::string ExplorerWindow::pathOfRow(int row) const {
    const QListWidgetItem* item = m_files->item(row);
    if (!item) return {};
    const std::string line = u(item->text());
    if (explorer::isSpecialLine(line)) return explorer::specialLinePath(line);
    const std::string name = bytesOf(item->data(kPathRole));
    return name.empty() ? explorer::pathOfLine(m_folder, line) : joinPath(m_folder, name);
}

std::vector<std::string> ExplorerWindow::selectedPaths() const {
    std::vector<std::string> paths;
    for (int row = 0; row < m_files->count(); ++row) {
        if (m_files->item(row)->isSelected()) paths.push_back(pathOfRow(row));
    }
    return paths;
}

void ExplorerWindow::selectAll() { m_files->selectAll(); }

void ExplorerWindow::fileClicked(QListWidgetItem* item) {
    if (!item) return;
    const std::string path = pathOfRow(m_files->row(item));
    if (!m_lastClickedFile.empty() && path == m_lastClickedFile) {
        m_lastClickedFile.clear();
        openSelected();
        return;
    }
    m_lastClickedFile = path;
    if (m_hooks.showStatus) {
        const platform::FileType type = platform::fileTypeOf(path);
        m_hooks.showStatus(explorer::fileTypeStatus(type.name, type.openCommand));
    }
    const bool jpeg = text::toLowerAscii(path).find(".jpg") != std::string::npos;
    const bool expert = !m_shared.store.readValue("SectBild", "Expertenmenue").empty();
    if (QAction* read = m_filePopup ? m_filePopup->findChild<QAction*>("DateiEinlesen1") : nullptr) {
        read->setText(jpeg && expert ? "Begleittext des Bildes erstellen oder ändern" : "Datei einlesen, falls Textdatei");
    }
    if (jpeg) {
        showPreview(path);
    } else {
        clearPreview();
    }
}

// One file or several: the caption follows every selection the user makes, while
// a refill keeps the folder caption it has just set.
void ExplorerWindow::updateSelectionCaption() {
    if (m_refilling) return;
    std::vector<std::string> lines;
    for (const QListWidgetItem* item : m_files->selectedItems()) lines.push_back(u(item->text()));
    setWindowTitle(q(explorer::selectionCaption(lines)));
}

void ExplorerWindow::place(ExplorerLayout layout) {
    const QRect screen = availableArea(this);
    setWindowTitle("");
    const bool second = m_number == '2';
    if (layout == ExplorerLayout::Large) {
        const int width = screen.width() / 2;
        placeFrame(this, QRect(screen.left() + (second ? 0 : width), screen.top() + 40, width, screen.height() - 60));
        m_outer->setSizes({width / 4, width - width / 4 - 10});
        return;
    }
    if (layout == ExplorerLayout::Small) {
        placeFrame(this, QRect(screen.left() + screen.width() - (second ? 800 : 400), screen.top() + 40, 400, 300));
        m_outer->setSizes({150, 250});
        return;
    }
    const auto stored = [this](const std::string& key, int fallback) {
        return static_cast<int>(text::toIntDef(m_shared.store.readValue(section(), key), fallback));
    };
    // Without a stored layout the two stand side by side as F11 puts them.
    const int half = screen.width() / 2 - 24;
    const QRect fallback(screen.left() + (second ? half + 24 : 24), screen.top() + 50, half, screen.height() - 100);
    placeOnScreen(this, QRect(stored("Explorermaße1left", fallback.left()), stored("Explorermaße1top", fallback.top()),
                              stored("Explorermaße1width", fallback.width()),
                              stored("Explorermaße1height", fallback.height())));
    const QRect frame = geometry();
    const int panel1 = std::min(stored("Explorermaße2Panel1width", 260), frame.width() / 2);
    m_outer->setSizes({panel1, std::max(100, frame.width() - panel1)});
    const int drives = stored("Laufwerkskastenhoehe", 16 * 8);
    m_left->setSizes({drives, std::max(100, frame.height() - drives)});
}

void ExplorerWindow::storeLayout() {
    if (!m_shownOnce) return;
    auto put = [this](const std::string& key, int value) { m_shared.store.writeValue(section(), key, std::to_string(value)); };
    put("Explorermaße1top", geometry().top());
    put("Explorermaße1left", geometry().left());
    put("Explorermaße1width", geometry().width());
    put("Explorermaße1height", geometry().height());
    put("Laufwerkskastenhoehe", m_drives->height());
    for (QWidget* panel : {m_panel1, m_panel2}) {
        const std::string name = "Explorermaße2" + u(panel->objectName());
        put(name + "top", panel->geometry().top());
        put(name + "left", panel->geometry().left());
        put(name + "width", panel->geometry().width());
        put(name + "height", panel->geometry().height());
    }
    if (!m_folder.empty()) {
        const std::string drive = platform::driveOf(m_folder);
        m_shared.store.writeValue(section(), "Laufwerk", drive);
        m_shared.store.writeValue(section(), "Explorer" + drive, m_folder);
    }
}

void ExplorerWindow::adaptHeight() {
    if (!m_shared.store.readValue("Explorer", "ExplorerhoeheNichtAnpassen").empty()) return;
    const QRect screen = availableArea(this);
    const int height = screen.bottom() + 1 - frameGeometry().top() - 50 - (frameGeometry().height() - this->height());
    if (height > 100) resize(width(), height);
}

void ExplorerWindow::placeTreeButtons() {
    const int right = m_tree->width() - 2;
    m_chronicleButton->move(right - m_chronicleButton->width(), 2);
    m_noteButton->move(m_chronicleButton->x() - m_noteButton->width(), 2);
    m_chronicleButton->show();
    m_noteButton->show();
}

void ExplorerWindow::showEvent(QShowEvent* event) {
    m_shownOnce = true;
    QWidget::showEvent(event);
}

void ExplorerWindow::closeEvent(QCloseEvent* event) {
    storeLayout();
    if (m_hooks.keepOnTop) m_hooks.keepOnTop(false);
    if (m_hooks.showMainWindow) m_hooks.showMainWindow();
    event->accept();
}

void ExplorerWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) adaptHeight();
    QWidget::changeEvent(event);
}

void ExplorerWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->key() == Qt::Key_F11 && m_hooks.toggleSecondExplorer) {
        m_hooks.toggleSecondExplorer();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_files->hasFocus()) {
        openSelected();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool ExplorerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tree && event->type() == QEvent::Resize) placeTreeButtons();
    if (watched == m_tree->viewport() && event->type() == QEvent::MouseButtonPress && m_preview->isVisible()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool inside = m_preview->geometry().contains(mouse->position().toPoint());
        clearPreview();
        if (inside && text::toLowerAscii(m_lastClickedFile).find(".jp") != std::string::npos) {
            m_shared.tones.tone(880);
            openPath(m_lastClickedFile);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pictra::ui
