// The explorer's marked files and its deleting into the program's own bin.
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QDate>

#include "ExplorerWindow.h"
#include "common/Dialogs.h"
#include "common/MenuCommands.h"
#include "common/UiText.h"
#include "explorer/pictures/ExplorerPictureBatch.h"
#include "platform/Drives.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace {

constexpr const char* kBinNote =
    "Im Normalfall werden Dateien nicht gelöscht, sondern in den SKR-Papierkorb verschoben.\rSie können die Dateien "
    "dann über Menü \"Ansicht|SKR-Papierkorb zeigen\" wiederherstellen.\r\rDas Menü \"endgültig löschen\" entfernt Ihre "
    "Dateien sofort!\rDiesen Programmpunkt sollten Sie sich also vorher gut überlegen";


bin::Date today() {
    const QDate d = QDate::currentDate();
    return {d.year(), d.month(), d.day()};
}

}  // namespace

CopyContext ExplorerShared::copyContext() {
    return CopyContext{dialogs, copies, store.readValue("Einstellungen", "OrdnerfuerSicherungZweiterTraeger"),
                       binFolder, [](const std::string& a, const std::string& b) { return platform::sameVolume(a, b); },
                       &tones};
}

void ExplorerWindow::buildMarkingItems(QMenu* menu) {
    addMenuCommand(menu, "DateienVormerken1", "Dateien vormerken", [this] { markSelected(false); });
    addMenuCommand(menu, "ZuDenVorgemerkten1", "Zu den vorgemerkten Dateien", [this] { markSelected(true); });
    addMenuCommand(menu, "EinfuegenMitAe1", "Vorgemerkte Dateien einfügen (mit ae statt ä etc.)",
        [this] { pasteMarked(explorer::PasteNames::Mapped); });
    addMenuCommand(menu, "EinfuegenOhneAenderung1", "Vorgemerkte Dateien einfügen (ohne Änderung)",
        [this] { pasteMarked(explorer::PasteNames::Unchanged); });
    addMenuCommand(menu, "MitOrdnerKopieren1", "Vorgemerkte Dateien mit Ordner kopieren", [this] { copyMarkedWithFolders(); })
        ->setToolTip("Zum Beispiel von Festplatte auf Diskette oder umgekehrt");
    addMenuCommand(menu, "VorgemerkteZeigen1", "Vorgemerkte Dateien zeigen", [this] { showMarkedFiles(); });
    addMenuCommand(menu, "VorgemerkteLeeren1", "Liste der vorgemerkten Dateien leeren", [this] { m_shared.marked.files.clear(); });
}

void ExplorerWindow::buildDeleteMenu(QMenuBar* bar) {
    QMenu* remove = bar->addMenu("Dateien &löschen");
    remove->setObjectName("DateienLoeschen1");
    addMenuCommand(remove, "AllesAuswaehlen3", "Alles auswählen", [this] { selectAll(); });
    addMenuCommand(remove, "AlleAusgewaehltenLoeschen1", "Alle ausgewählte Dateien löschen ", [this] { deleteSelectedToBin(); });
    QMenu* note = remove->addMenu("Hinweis...");
    addMenuCommand(note, "HinweisLoeschen1", "Hinweis", [this] { m_shared.dialogs.inform(kBinNote); });
    addMenuCommand(note, "EndgueltigLoeschen1", "Endgültig löschen", [this] { deleteSelectedForGood(); });
    addMenuCommand(remove, "ImPapierkorbSuchen1", "gelöschte Dateien des Ordners im Papierkorb suchen", [this] {
        if (m_hooks.showBin) m_hooks.showBin(m_folder);
    });
}

void ExplorerWindow::buildFolderPopup() {
    m_folderPopup = new QMenu(this);
    m_folderPopup->setObjectName("PopupMenu2");
    addNewSubfolderItem(m_folderPopup);
    addPictureOverviewItem(m_folderPopup, *this, m_shared, m_hooks);
    addMenuCommand(m_folderPopup, "OrdnerVormerken1", "Ordner vormerken", [this] { markFolder(); });
    addMenuCommand(m_folderPopup, "OrdnerKopieren1", "Vorgemerkten Ordner kopieren", [this] { copyMarkedFolder(); });
    addFolderTreeItems(m_folderPopup);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tree, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_folderPopup->popup(m_tree->viewport()->mapToGlobal(at)); });
}

std::vector<std::string> ExplorerWindow::allPaths() const {
    std::vector<std::string> paths;
    for (int row = 0; row < m_files->count(); ++row) paths.push_back(pathOfRow(row));
    return paths;
}

void ExplorerWindow::markSelected(bool keep) {
    explorer::markFiles(m_shared.marked, selectedPaths(), allPaths(), keep, m_shared.dialogs);
}

void ExplorerWindow::pasteMarked(explorer::PasteNames names) {
    CopyContext context = m_shared.copyContext();
    explorer::pasteMarked(m_shared.marked, m_folder, names, context, today());
    showFiles(m_folder);
    show();
    if (m_hooks.showMainWindow) m_hooks.showMainWindow();
    raise();
}

void ExplorerWindow::copyMarkedWithFolders() {
    CopyContext context = m_shared.copyContext();
    explorer::copyWithFolders(m_shared.marked, selectedPaths(), allPaths(), m_shared.store, context,
                              [](const std::string& path) { return platform::driveOf(path); });
}

void ExplorerWindow::markFolder() { m_shared.marked.folder = m_folder; }

void ExplorerWindow::copyMarkedFolder() {
    CopyContext context = m_shared.copyContext();
    const std::string created = explorer::copyMarkedFolder(m_shared.marked, m_folder, context);
    if (created.empty()) return;
    rebuildTree(m_folder, m_folder);
    showFiles(m_folder);
}

// The selected files, or every file after "Alle?"; nullopt when the answer was No.
std::optional<std::vector<std::string>> ExplorerWindow::selectedOrAll() {
    std::vector<std::string> paths = selectedPaths();
    if (!paths.empty()) return paths;
    if (m_shared.dialogs.ask("Alle?") != Answer::Yes) return std::nullopt;
    return allPaths();
}

void ExplorerWindow::deleteSelectedToBin() {
    const auto paths = selectedOrAll();
    if (!paths) return;
    CopyContext context = m_shared.copyContext();
    explorer::moveToBin(*paths, context, today());
    showFiles(m_folder);
}

void ExplorerWindow::deleteMarkedToBin() {
    CopyContext context = m_shared.copyContext();
    explorer::moveToBin(m_shared.marked.files, context, today());
    showFiles(m_folder);
}

void ExplorerWindow::deleteSelectedForGood() {
    const auto paths = selectedOrAll();
    if (!paths) return;
    explorer::deleteForGood(*paths, m_shared.dialogs);
    showFiles(m_folder);
}

void ExplorerWindow::showMarkedFiles() {
    std::string list;
    for (const auto& path : m_shared.marked.files) list += path + "\r\n";
    if (!m_shared.marked.folder.empty()) list += "\r\nVorgemerkter Ordner: " + m_shared.marked.folder;
    m_shared.dialogs.showText("Vorgemerkte Dateien", list.empty() ? "Noch keine Dateien vorgemerkt!" : list);
}

}  // namespace pictra::ui
