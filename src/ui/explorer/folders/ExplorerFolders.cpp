// The explorer's commands on the folder tree: new folders, empty folders, a
// folder with its content, all subfolders and the largest files.
#include <QDate>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <sys/stat.h>

#include "PictureOrderWindow.h"
#include "RenameReorderWindow.h"
#include "common/MenuCommands.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/folders/FolderCommands.h"
#include "platform/Drives.h"

namespace pictra::ui {

namespace {

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The nearest folder that still exists: a command may have removed the one listed.
std::string existingFolder(std::string folder) {
    while (!isFolder(folder) && folder != "/") folder = folders::parentFolder(folder);
    return folder;
}

}  // namespace

void ExplorerWindow::addFolderExtras(QMenu* extras) {
    addMenuCommand(extras, "LeerenOrdnerLoeschen1", "Leeren Ordner löschen", [this] { removeEmptyFoldersHere(); });
    addMenuCommand(extras, "NeuenOrdnerErzeugen1", "Neuen Ordner erzeugen", [this] { createFolderHere(); });
    addMenuCommand(extras, "GroessteDateien1", "Die größten Dateien suchen", [this] { findLargestFiles(); });
}

void ExplorerWindow::addNewSubfolderItem(QMenu* popup) {
    addMenuCommand(popup, "NeuenUnterordner1", "Neuen Unterordner erzeugen", [this] { createFolderHere(); });
}

void ExplorerWindow::addFolderTreeItems(QMenu* popup) {
    addMenuCommand(popup, "AlleUnterordner1", "Alle Unterordner auflisten",
                   [this] { folders::listAllSubfolders(m_folder, m_shared.dialogs); });
    addMenuCommand(popup, "LeereOrdnerSuchen1", "Leere Ordner suchen", [this] { removeEmptyFoldersHere(); });
    addMenuCommand(popup, "OrdnerMitInhaltLoeschen1", "Ordner mit Inhalt löschen", [this] { deleteFolderHere(); });
}

void ExplorerWindow::addPictureRenameItems(QMenu* pictures) {
    // The explorer lists the folder again once a rename window closes.
    addMenuCommand(pictures, "BilderUmbenennen1", "Bilddateien durch Umbenennen neu ordnen", [this] {
        if (m_folder.empty()) return;
        auto* window = new PictureOrderWindow(m_folder, m_shared, [this] { showFiles(m_folder); }, this);
        if (!window->load()) {
            delete window;
            return;
        }
        window->show();
        window->activateWindow();
    });
    addMenuCommand(pictures, "BilderUmordnen1", "Bilddateien umordnen", [this] {
        if (m_folder.empty()) return;
        auto* window = new RenameReorderWindow(m_folder, m_shared, [this] { showFiles(m_folder); }, this);
        if (!window->load()) {
            delete window;
            return;
        }
        window->show();
        window->activateWindow();
    });
}

void ExplorerWindow::withFolderContext(const std::function<void(folders::FolderContext&)>& command) {
    if (m_folder.empty()) return;
    CopyContext copies = m_shared.copyContext();
    const QDate day = QDate::currentDate();
    folders::FolderContext context{copies,
                                   [](const std::string& folder) {
                                       return folders::plainFolder(platform::driveOf(folder)) ==
                                              folders::plainFolder(folder);
                                   },
                                   QFile::encodeName(QDir::homePath()).toStdString(),
                                   {day.year(), day.month(), day.day()}};
    command(context);
}

void ExplorerWindow::createFolderHere() {
    if (m_folder.empty()) return;
    const auto created = folders::createFolder(m_folder, m_shared.dialogs);
    if (!created) return;
    goToFolder(*created);
    showFiles(*created);
}

void ExplorerWindow::removeEmptyFoldersHere() {
    withFolderContext([this](folders::FolderContext& context) { folders::removeEmptyFolders(m_folder, context); });
    const std::string folder = existingFolder(m_folder);
    goToFolder(folder);
    showFiles(folder);
}

void ExplorerWindow::deleteFolderHere() {
    bool deleted = false;
    withFolderContext([this, &deleted](folders::FolderContext& context) {
        deleted = folders::deleteFolderWithContent(m_folder, context);
    });
    if (!deleted) return;
    const std::string folder = existingFolder(folders::parentFolder(m_folder));
    goToFolder(folder);
    showFiles(folder);
}

void ExplorerWindow::findLargestFiles() {
    folders::LargestResult result;
    withFolderContext([this, &result](folders::FolderContext& context) {
        result = folders::largestFiles(m_folder, context);
    });
    if (m_folder.empty()) return;
    m_refilling = true;
    m_files->clear();
    // Smallest first, as the sorted list kept them.
    for (const auto& line : result.lines) m_files->addItem(QFile::decodeName(QByteArray::fromStdString(line)));
    m_refilling = false;
    setWindowTitle("Die größten Dateien (" + QString::number(result.lines.size()) + ")  " +
                   QFile::decodeName(QByteArray::fromStdString(m_folder)) + (result.cancelled ? " (abgebrochen)" : ""));
}

}  // namespace pictra::ui
